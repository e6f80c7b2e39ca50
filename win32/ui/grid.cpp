// The Win32 flex grid: the grid's data (GridModel) drawn by this window, with its scroll
// bars, clicks and keys.
#include "win32/ui/grid.h"

#include <windowsx.h>

#include <algorithm>

#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

constexpr COLORREF kGridLines = RGB(192, 192, 192);
constexpr int kCellPadding = 3;

}  // namespace

Grid::Grid(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Grid, std::move(name), b), model_(name_) {
    createWindow(form.toolkit().controlClass(), WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, L"");
    // The model starts with the flex grid's defaults; the new window shows them.
    changed();
}

void Grid::setRows(int n) {
    model_.setRows(n);
    changed();
}

void Grid::setCols(int n) {
    model_.setCols(n);
    changed();
}

void Grid::setFixed(int rows, int cols) {
    model_.setFixed(rows, cols);
    changed();
}

void Grid::setTextMatrix(int row, int col, const std::string& text) {
    model_.setTextMatrix(row, col, text);
    changed();
}

void Grid::clearTexts() {
    model_.clearTexts();
    changed();
}

void Grid::setColWidth(int col, double width) {
    model_.setColWidth(col, width);
    changed();
}

void Grid::setColAlignment(int col, qm::ui::CellAlign a) {
    model_.setColAlignment(col, a);
    changed();
}

void Grid::setFixedAlignment(int col, qm::ui::CellAlign a) {
    model_.setFixedAlignment(col, a);
    changed();
}

void Grid::setBackColor(uint32_t color) {
    model_.setBackColor(color);
    changed();
}

void Grid::setCellBackColor(int row, int col, uint32_t color) {
    model_.setCellBackColor(row, col, color);
    changed();
}

void Grid::setTopRow(int row) {
    model_.setTopRow(row);
    changed();
}

void Grid::setLeftCol(int col) {
    model_.setLeftCol(col);
    changed();
}

void Grid::setCurrentCell(int row, int col) {
    if (!model_.setCurrentCell(row, col)) return;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
    fireEvent(onSelChange);
}

// ---------------------------------------------------------------- geometry

int Grid::colPixels(int c) const { return std::max(0, form().toolkit().pixelsX(colWidth(c))); }

int Grid::rowPixels(int r) const { return std::max(0, form().toolkit().pixelsY(rowHeight(r))); }

std::vector<int> Grid::columnEdges() const {
    std::vector<int> left(static_cast<size_t>(model_.cols()), -1);
    int x = 0;
    for (int c = 0; c < model_.cols(); ++c) {
        if (c >= model_.fixedCols() && c < model_.leftCol()) continue;  // scrolled out of view
        left[static_cast<size_t>(c)] = x;
        x += colPixels(c);
    }
    return left;
}

std::vector<int> Grid::rowEdges() const {
    std::vector<int> top(static_cast<size_t>(model_.rows()), -1);
    int y = 0;
    for (int r = 0; r < model_.rows(); ++r) {
        if (r >= model_.fixedRows() && r < model_.topRow()) continue;
        top[static_cast<size_t>(r)] = y;
        y += rowPixels(r);
    }
    return top;
}

POINT Grid::clientOffset() const {
    if (!hwnd_) return POINT{0, 0};
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_, &origin);
    return POINT{origin.x - outer.left, origin.y - outer.top};
}

// Pixel edges as drawn; a column (row) scrolled out of view lies before the first one shown.
double Grid::colPos(int col) const {
    model_.check(0, col);
    const int x = qm::ui::GridModel::scrolledPos(col, model_.fixedCols(), model_.leftCol(), [this](int c) { return colPixels(c); });
    return (clientOffset().x + x) * form().toolkit().twipsPerPixelX();
}

double Grid::rowPos(int row) const {
    model_.check(row, 0);
    const int y = qm::ui::GridModel::scrolledPos(row, model_.fixedRows(), model_.topRow(), [this](int r) { return rowPixels(r); });
    return (clientOffset().y + y) * form().toolkit().twipsPerPixelY();
}

std::optional<std::pair<int, int>> Grid::cellAt(int x, int y) const {
    using qm::ui::GridModel;
    const auto col = GridModel::indexAt(x, model_.cols(), model_.fixedCols(), model_.leftCol(), [this](int c) { return colPixels(c); });
    const auto row = GridModel::indexAt(y, model_.rows(), model_.fixedRows(), model_.topRow(), [this](int r) { return rowPixels(r); });
    if (!row || !col) return std::nullopt;
    return std::make_pair(*row, *col);
}

RECT Grid::cellRect(int row, int col) const {
    model_.check(row, col);
    const int l = columnEdges()[static_cast<size_t>(col)], t = rowEdges()[static_cast<size_t>(row)];
    if (l < 0 || t < 0) return RECT{0, 0, 0, 0};
    return RECT{l, t, l + colPixels(col), t + rowPixels(row)};
}

// ---------------------------------------------------------------- window

void Grid::changed() {
    if (!hwnd_) return;
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    updateScrollBars();
}

void Grid::updateScrollBars() {
    if (!hwnd_ || updatingBars_) return;
    updatingBars_ = true;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    // How many of the last rows (columns) fit beside the fixed ones: the page, so that the
    // bar's end shows the last row at the bottom.
    const auto page = [](int fixedSize, int available, int from, int to, auto sizeOf) {
        int used = fixedSize, n = 0;
        for (int i = to - 1; i >= from; --i) {
            if (used + sizeOf(i) > available) break;
            used += sizeOf(i);
            ++n;
        }
        return std::max(n, 1);
    };
    const int rows = model_.rows(), cols = model_.cols();
    const int fixedRows = model_.fixedRows(), fixedCols = model_.fixedCols();
    int fixedHeight = 0, fixedWidth = 0;
    for (int r = 0; r < fixedRows; ++r) fixedHeight += rowPixels(r);
    for (int c = 0; c < fixedCols; ++c) fixedWidth += colPixels(c);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = fixedRows;
    si.nMax = std::max(fixedRows, rows - 1);
    si.nPage = static_cast<UINT>(rows > fixedRows ? page(fixedHeight, client.bottom, fixedRows, rows, [this](int r) { return rowPixels(r); })
                                                  : 1);
    if (rows <= fixedRows) si.nPage = 2;
    si.nPos = model_.topRow();
    ::SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    si.nMin = fixedCols;
    si.nMax = std::max(fixedCols, cols - 1);
    si.nPage = static_cast<UINT>(cols > fixedCols ? page(fixedWidth, client.right, fixedCols, cols, [this](int c) { return colPixels(c); })
                                                  : 1);
    if (cols <= fixedCols) si.nPage = 2;
    si.nPos = model_.leftCol();
    ::SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    updatingBars_ = false;
}

void Grid::scroll(int bar, int request) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(hwnd_, bar, &si);
    const int last = std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1);
    int pos = bar == SB_VERT ? model_.topRow() : model_.leftCol();
    switch (request) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= std::max(1, static_cast<int>(si.nPage)); break;
        case SB_PAGEDOWN: pos += std::max(1, static_cast<int>(si.nPage)); break;
        case SB_TOP: pos = si.nMin; break;
        case SB_BOTTOM: pos = last; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        default: return;
    }
    pos = std::clamp(pos, si.nMin, last);
    if (bar == SB_VERT) {
        setTopRow(pos);
    } else {
        setLeftCol(pos);
    }
}

void Grid::ensureVisible(int row, int col) {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    // Scrolls by one row (column) at a time until the cell shows whole; row and col are
    // inside the grid, so the model's clamping leaves each step as it is.
    if (row >= model_.fixedRows()) {
        if (row < model_.topRow()) model_.setTopRow(row);
        while (model_.topRow() < row) {
            const std::vector<int> top = rowEdges();
            if (top[static_cast<size_t>(row)] >= 0 && top[static_cast<size_t>(row)] + rowPixels(row) <= client.bottom) break;
            model_.setTopRow(model_.topRow() + 1);
        }
    }
    if (col >= model_.fixedCols()) {
        if (col < model_.leftCol()) model_.setLeftCol(col);
        while (model_.leftCol() < col) {
            const std::vector<int> left = columnEdges();
            if (left[static_cast<size_t>(col)] >= 0 && left[static_cast<size_t>(col)] + colPixels(col) <= client.right) break;
            model_.setLeftCol(model_.leftCol() + 1);
        }
    }
    changed();
}

void Grid::click(LPARAM lParam, bool doubleClick) {
    // Focus first (validation may refuse it); a click on a fixed cell leaves the
    // current cell alone.
    if (!form().userFocus(*this) || !acceptsInput()) return;
    const auto hit = cellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (!hit) return;
    const auto [r, c] = *hit;
    if (model_.contains(r, c) && !model_.isFixed(r, c)) setCurrentCell(r, c);
    if (doubleClick && hwnd_ && acceptsInput()) fireEvent(onDblClick);
}

void Grid::key(WPARAM vk) {
    const auto cell = model_.cellAfterKey(static_cast<int>(vk));
    if (!cell) return;
    setCurrentCell(cell->first, cell->second);
    if (hwnd_) ensureVisible(cell->first, cell->second);
}

void Grid::character(WPARAM ch) {
    int keyAscii = ch < 0x80 ? static_cast<int>(ch) : 0x100 + static_cast<int>(ch);
    fireEvent(onKeyPress, keyAscii);
}

void Grid::paint(HDC dc, const RECT& client) {
    const std::vector<int> left = columnEdges(), top = rowEdges();
    // Beyond the cells: the grid's dark background, as the flex grid shows it.
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    Selected font(dc, currentFont());
    Selected pen(dc, ::GetStockObject(DC_PEN));
    ::SetBkMode(dc, TRANSPARENT);
    const bool focused = ::GetFocus() == hwnd_;
    for (int r = 0; r < model_.rows(); ++r) {
        const int t = top[static_cast<size_t>(r)];
        if (t < 0 || t >= client.bottom) continue;
        for (int c = 0; c < model_.cols(); ++c) {
            const int l = left[static_cast<size_t>(c)];
            if (l < 0 || l >= client.right) continue;
            RECT rc{l, t, l + colPixels(c), t + rowPixels(r)};
            const bool fixed = model_.isFixed(r, c);
            ::FillRect(dc, &rc, fixed ? ::GetSysColorBrush(COLOR_BTNFACE) : form().brush(cellBackColor(r, c)));
            ::SetDCPenColor(dc, fixed ? ::GetSysColor(COLOR_BTNSHADOW) : kGridLines);
            ::MoveToEx(dc, rc.right - 1, rc.top, nullptr);
            ::LineTo(dc, rc.right - 1, rc.bottom - 1);
            ::LineTo(dc, rc.left - 1, rc.bottom - 1);
            if (fixed) {
                ::SetDCPenColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
                ::MoveToEx(dc, rc.left, rc.bottom - 2, nullptr);
                ::LineTo(dc, rc.left, rc.top);
                ::LineTo(dc, rc.right - 1, rc.top);
            }
            const qm::ui::CellAlign align = (fixed ? model_.fixedAlignment(c) : model_.colAlignment(c)).value_or(qm::ui::CellAlign::LeftCenter);
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
            format |= align == qm::ui::CellAlign::CenterCenter ? DT_CENTER : align == qm::ui::CellAlign::RightCenter ? DT_RIGHT : DT_LEFT;
            RECT text = rc;
            ::InflateRect(&text, -kCellPadding, 0);
            ::SetTextColor(dc, ::GetSysColor(fixed ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
            const std::wstring wide = toUtf16(model_.cell(r, c).text);
            ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text, format);
            if (focused && r == model_.row() && c == model_.col() && !fixed) {
                RECT focus = rc;
                ::InflateRect(&focus, -1, -1);
                focus.right -= 1;
                focus.bottom -= 1;
                ::DrawFocusRect(dc, &focus);
            }
        }
    }
}

LRESULT Grid::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            RECT client;
            ::GetClientRect(hwnd_, &client);
            paint(dc, client);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: updateScrollBars(); return 0;
        case WM_VSCROLL: scroll(SB_VERT, LOWORD(wParam)); return 0;
        case WM_HSCROLL: scroll(SB_HORZ, LOWORD(wParam)); return 0;
        case WM_MOUSEWHEEL:
            scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
            return 0;
        case WM_LBUTTONDOWN: click(lParam, false); return 0;
        case WM_LBUTTONDBLCLK: click(lParam, true); return 0;
        case WM_KEYDOWN: key(wParam); return 0;
        case WM_CHAR: character(wParam); return 0;
        case WM_KILLFOCUS: ::InvalidateRect(hwnd_, nullptr, FALSE); break;
        case WM_SETFOCUS: ::InvalidateRect(hwnd_, nullptr, FALSE); break;
        default: break;
    }
    return Widget::message(msg, wParam, lParam);
}

void Grid::describeOwn(automation::Writer& w) const {
    const qm::ui::GridModel& m = model_;
    w.record("size").integer(m.rows()).integer(m.cols()).integer(m.fixedRows()).integer(m.fixedCols());
    w.record("scroll").integer(m.topRow()).integer(m.leftCol());
    w.record("current").integer(m.row()).integer(m.col());
    w.record("backcolor").integer(m.backColor());
    w.record("widths");
    for (int c = 0; c < m.cols(); ++c) w.number(m.colWidth(c));
    if (m.rowHeightsSet()) {
        w.record("heights");
        for (int r = 0; r < m.rows(); ++r) w.number(m.rowHeight(r));
    }
    for (int c = 0; c < m.cols(); ++c) {
        if (const auto a = m.colAlignment(c)) w.record("align").integer(c).integer(static_cast<int>(*a));
        if (const auto a = m.fixedAlignment(c)) w.record("fixed-align").integer(c).integer(static_cast<int>(*a));
    }
    for (int r = 0; r < m.rows(); ++r) {
        for (int c = 0; c < m.cols(); ++c) {
            const qm::ui::GridModel::Cell& x = m.cell(r, c);
            w.record("cell").integer(r).integer(c).text(x.text);
            if (x.backColor) w.integer(*x.backColor);
        }
    }
    w.record("col-edges");
    for (int left : columnEdges()) w.integer(left);
    w.record("row-edges");
    for (int top : rowEdges()) w.integer(top);
}

}  // namespace qm::win32::ui
