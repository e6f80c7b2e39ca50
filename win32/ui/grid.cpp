// The Win32 flex grid: the same cells, sizes and scrolling as the form model's grid,
// drawn by this window.
#include "win32/ui/grid.h"

#include <windowsx.h>

#include <algorithm>

#include "core/host/error.h"
#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

constexpr int32_t kSubscriptOutOfRange = 381;
constexpr int32_t kInvalidPropertyValue = 380;
constexpr COLORREF kGridLines = RGB(192, 192, 192);
constexpr int kCellPadding = 3;

int clampScrolled(int v, int fixed, int count) {
    if (count <= fixed) return std::max(count - 1, 0);
    return std::clamp(v, fixed, count - 1);
}

}  // namespace

Grid::Grid(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Grid, std::move(name), b) {
    createWindow(form.toolkit().controlClass(), WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, L"");
    // The flex grid's defaults: two rows and two columns, one of each fixed.
    resize(2, 2);
    setFixed(1, 1);
    setCurrentCell(1, 1);
}

void Grid::check(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        throw qm::host::HostError(kSubscriptOutOfRange, "Subscript out of range (" + name_ + " cell " + std::to_string(row) +
                                                            "," + std::to_string(col) + ")");
    }
}

void Grid::resize(int rows, int cols) {
    if (cols == cols_) {
        cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    } else {
        std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        for (int r = 0; r < std::min(rows, rows_); ++r) {
            for (int c = 0; c < std::min(cols, cols_); ++c) {
                cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] = std::move(cell(r, c));
            }
        }
        cells_ = std::move(cells);
    }
    rows_ = rows;
    cols_ = cols;
    colWidths_.resize(static_cast<size_t>(cols), -1);
    rowHeights_.resize(static_cast<size_t>(rows), -1);
    colAlign_.resize(static_cast<size_t>(cols));
    fixedAlign_.resize(static_cast<size_t>(cols));
    fixedRows_ = std::min(fixedRows_, rows);
    fixedCols_ = std::min(fixedCols_, cols);
    keepInside();
    changed();
}

void Grid::keepInside() {
    topRow_ = clampScrolled(topRow_, fixedRows_, rows_);
    leftCol_ = clampScrolled(leftCol_, fixedCols_, cols_);
    row_ = std::clamp(row_, 0, std::max(rows_ - 1, 0));
    col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
}

void Grid::setRows(int n) {
    if (n < 0) throw qm::host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Rows)");
    resize(n, cols_);
}

void Grid::setCols(int n) {
    if (n < 0) throw qm::host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Cols)");
    resize(rows_, n);
}

void Grid::setFixed(int rows, int cols) {
    if (rows < 0 || cols < 0 || rows > rows_ || cols > cols_) {
        throw qm::host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " fixed rows/cols)");
    }
    fixedRows_ = rows;
    fixedCols_ = cols;
    keepInside();
    changed();
}

std::string Grid::textMatrix(int row, int col) const {
    check(row, col);
    return cell(row, col).text;
}

void Grid::setTextMatrix(int row, int col, const std::string& text) {
    check(row, col);
    cell(row, col).text = text;
    changed();
}

void Grid::clearTexts() {
    for (Cell& c : cells_) c.text.clear();
    changed();
}

double Grid::colWidth(int col) const {
    check(0, col);
    const double w = colWidths_[static_cast<size_t>(col)];
    return w < 0 ? kDefaultColWidth : w;
}

void Grid::setColWidth(int col, double width) {
    check(0, col);
    colWidths_[static_cast<size_t>(col)] = width < 0 ? -1 : width;
    changed();
}

double Grid::rowHeight(int row) const {
    check(row, 0);
    const double h = rowHeights_[static_cast<size_t>(row)];
    return h < 0 ? kDefaultRowHeight : h;
}

double Grid::colPos(int col) const {
    check(0, col);
    double pos = 0;
    for (int c = 0; c < col; ++c) pos += colWidth(c);
    return pos;
}

double Grid::rowPos(int row) const {
    check(row, 0);
    double pos = 0;
    for (int r = 0; r < row; ++r) pos += rowHeight(r);
    return pos;
}

void Grid::setColAlignment(int col, qm::ui::CellAlign a) {
    check(0, col);
    colAlign_[static_cast<size_t>(col)] = a;
    changed();
}

void Grid::setFixedAlignment(int col, qm::ui::CellAlign a) {
    check(0, col);
    fixedAlign_[static_cast<size_t>(col)] = a;
    changed();
}

void Grid::setBackColor(uint32_t color) {
    backColor_ = color;
    changed();
}

void Grid::setCellBackColor(int row, int col, uint32_t color) {
    check(row, col);
    cell(row, col).backColor = color;
    changed();
}

uint32_t Grid::cellBackColor(int row, int col) const {
    check(row, col);
    return cell(row, col).backColor.value_or(backColor_);
}

void Grid::setTopRow(int row) {
    topRow_ = clampScrolled(row, fixedRows_, rows_);
    changed();
}

void Grid::setLeftCol(int col) {
    leftCol_ = clampScrolled(col, fixedCols_, cols_);
    changed();
}

void Grid::setCurrentCell(int row, int col) {
    check(row, col);
    if (row == row_ && col == col_) return;
    row_ = row;
    col_ = col;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
    fireEvent(onSelChange);
}

// ---------------------------------------------------------------- geometry

int Grid::colPixels(int c) const { return std::max(0, form().toolkit().pixelsX(colWidth(c))); }

int Grid::rowPixels(int r) const { return std::max(0, form().toolkit().pixelsY(rowHeight(r))); }

std::vector<int> Grid::columnEdges() const {
    std::vector<int> left(static_cast<size_t>(cols_), -1);
    int x = 0;
    for (int c = 0; c < cols_; ++c) {
        if (c >= fixedCols_ && c < leftCol_) continue;  // scrolled out of view
        left[static_cast<size_t>(c)] = x;
        x += colPixels(c);
    }
    return left;
}

std::vector<int> Grid::rowEdges() const {
    std::vector<int> top(static_cast<size_t>(rows_), -1);
    int y = 0;
    for (int r = 0; r < rows_; ++r) {
        if (r >= fixedRows_ && r < topRow_) continue;
        top[static_cast<size_t>(r)] = y;
        y += rowPixels(r);
    }
    return top;
}

std::optional<std::pair<int, int>> Grid::cellAt(int x, int y) const {
    const std::vector<int> left = columnEdges(), top = rowEdges();
    int row = -1, col = -1;
    for (int c = 0; c < cols_; ++c) {
        const int l = left[static_cast<size_t>(c)];
        if (l >= 0 && x >= l && x < l + colPixels(c)) col = c;
    }
    for (int r = 0; r < rows_; ++r) {
        const int t = top[static_cast<size_t>(r)];
        if (t >= 0 && y >= t && y < t + rowPixels(r)) row = r;
    }
    if (row < 0 || col < 0) return std::nullopt;
    return std::make_pair(row, col);
}

RECT Grid::cellRect(int row, int col) const {
    check(row, col);
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
    int fixedHeight = 0, fixedWidth = 0;
    for (int r = 0; r < fixedRows_; ++r) fixedHeight += rowPixels(r);
    for (int c = 0; c < fixedCols_; ++c) fixedWidth += colPixels(c);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = fixedRows_;
    si.nMax = std::max(fixedRows_, rows_ - 1);
    si.nPage = static_cast<UINT>(rows_ > fixedRows_ ? page(fixedHeight, client.bottom, fixedRows_, rows_, [this](int r) { return rowPixels(r); })
                                                    : 1);
    if (rows_ <= fixedRows_) si.nPage = 2;
    si.nPos = topRow_;
    ::SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    si.nMin = fixedCols_;
    si.nMax = std::max(fixedCols_, cols_ - 1);
    si.nPage = static_cast<UINT>(cols_ > fixedCols_ ? page(fixedWidth, client.right, fixedCols_, cols_, [this](int c) { return colPixels(c); })
                                                    : 1);
    if (cols_ <= fixedCols_) si.nPage = 2;
    si.nPos = leftCol_;
    ::SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    updatingBars_ = false;
}

void Grid::scroll(int bar, int request) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(hwnd_, bar, &si);
    const int last = std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1);
    int pos = bar == SB_VERT ? topRow_ : leftCol_;
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
    if (row >= fixedRows_) {
        if (row < topRow_) topRow_ = row;
        while (topRow_ < row) {
            const std::vector<int> top = rowEdges();
            if (top[static_cast<size_t>(row)] >= 0 && top[static_cast<size_t>(row)] + rowPixels(row) <= client.bottom) break;
            ++topRow_;
        }
    }
    if (col >= fixedCols_) {
        if (col < leftCol_) leftCol_ = col;
        while (leftCol_ < col) {
            const std::vector<int> left = columnEdges();
            if (left[static_cast<size_t>(col)] >= 0 && left[static_cast<size_t>(col)] + colPixels(col) <= client.right) break;
            ++leftCol_;
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
    if (r >= fixedRows_ && c >= fixedCols_ && r < rows_ && c < cols_) setCurrentCell(r, c);
    if (doubleClick && hwnd_ && acceptsInput()) fireEvent(onDblClick);
}

void Grid::key(WPARAM vk) {
    if (rows_ <= fixedRows_ || cols_ <= fixedCols_) return;
    int r = std::max(row_, fixedRows_), c = std::max(col_, fixedCols_);
    switch (vk) {
        case VK_UP: --r; break;
        case VK_DOWN: ++r; break;
        case VK_LEFT: --c; break;
        case VK_RIGHT: ++c; break;
        case VK_PRIOR: r -= 10; break;
        case VK_NEXT: r += 10; break;
        case VK_HOME: c = fixedCols_; break;
        case VK_END: c = cols_ - 1; break;
        default: return;
    }
    r = std::clamp(r, fixedRows_, rows_ - 1);
    c = std::clamp(c, fixedCols_, cols_ - 1);
    setCurrentCell(r, c);
    if (hwnd_) ensureVisible(r, c);
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
    for (int r = 0; r < rows_; ++r) {
        const int t = top[static_cast<size_t>(r)];
        if (t < 0 || t >= client.bottom) continue;
        for (int c = 0; c < cols_; ++c) {
            const int l = left[static_cast<size_t>(c)];
            if (l < 0 || l >= client.right) continue;
            RECT rc{l, t, l + colPixels(c), t + rowPixels(r)};
            const bool fixed = r < fixedRows_ || c < fixedCols_;
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
            const qm::ui::CellAlign align = (fixed ? fixedAlign_ : colAlign_)[static_cast<size_t>(c)].value_or(qm::ui::CellAlign::LeftCenter);
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
            format |= align == qm::ui::CellAlign::CenterCenter ? DT_CENTER : align == qm::ui::CellAlign::RightCenter ? DT_RIGHT : DT_LEFT;
            RECT text = rc;
            ::InflateRect(&text, -kCellPadding, 0);
            ::SetTextColor(dc, ::GetSysColor(fixed ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
            const std::wstring wide = toUtf16(cell(r, c).text);
            ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text, format);
            if (focused && r == row_ && c == col_ && !fixed) {
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
    w.record("size").integer(rows_).integer(cols_).integer(fixedRows_).integer(fixedCols_);
    w.record("scroll").integer(topRow_).integer(leftCol_);
    w.record("current").integer(row_).integer(col_);
    w.record("backcolor").integer(backColor_);
    w.record("widths");
    for (int c = 0; c < cols_; ++c) w.number(colWidth(c));
    if (std::any_of(rowHeights_.begin(), rowHeights_.end(), [](double h) { return h >= 0; })) {
        w.record("heights");
        for (int r = 0; r < rows_; ++r) w.number(rowHeight(r));
    }
    for (int c = 0; c < cols_; ++c) {
        if (const auto& a = colAlign_[static_cast<size_t>(c)]) w.record("align").integer(c).integer(static_cast<int>(*a));
        if (const auto& a = fixedAlign_[static_cast<size_t>(c)]) {
            w.record("fixed-align").integer(c).integer(static_cast<int>(*a));
        }
    }
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            const Cell& x = cell(r, c);
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
