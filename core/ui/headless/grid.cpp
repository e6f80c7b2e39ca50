// The headless flex grid.
#include "core/ui/headless/grid.h"

#include <algorithm>

#include "core/host/error.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"

namespace qm::ui::headless {

namespace {

constexpr int32_t kSubscriptOutOfRange = 381;
constexpr int32_t kInvalidPropertyValue = 380;

// The first non-fixed index when `v` is below it, the last index when past the end; with
// no non-fixed index at all, the last one there is.
int clampScrolled(int v, int fixed, int count) {
    if (count <= fixed) return std::max(count - 1, 0);
    return std::clamp(v, fixed, count - 1);
}

const char* alignName(CellAlign a) {
    switch (a) {
        case CellAlign::LeftCenter: return "left";
        case CellAlign::CenterCenter: return "center";
        case CellAlign::RightCenter: return "right";
    }
    return "?";
}

}  // namespace

Grid::Grid(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Grid, std::move(name), b) {
    // The flex grid's defaults: two rows and two columns, one of each fixed.
    resize(2, 2);
    setFixed(1, 1);
    setCurrentCell(1, 1);
}

void Grid::check(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        throw host::HostError(kSubscriptOutOfRange, "Subscript out of range (" + name_ + " cell " + std::to_string(row) +
                                                        "," + std::to_string(col) + ")");
    }
}

void Grid::resize(int rows, int cols) {
    if (cols == cols_) {
        // Rows are added one at a time while a list is filled: no copy of the cells then.
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
}

void Grid::keepInside() {
    topRow_ = clampScrolled(topRow_, fixedRows_, rows_);
    leftCol_ = clampScrolled(leftCol_, fixedCols_, cols_);
    row_ = std::clamp(row_, 0, std::max(rows_ - 1, 0));
    col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
}

void Grid::setRows(int n) {
    if (n < 0) throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Rows)");
    resize(n, cols_);
}

void Grid::setCols(int n) {
    if (n < 0) throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Cols)");
    resize(rows_, n);
}

void Grid::setFixed(int rows, int cols) {
    if (rows < 0 || cols < 0 || rows > rows_ || cols > cols_) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " fixed rows/cols)");
    }
    fixedRows_ = rows;
    fixedCols_ = cols;
    keepInside();
}

std::string Grid::textMatrix(int row, int col) const {
    check(row, col);
    return cell(row, col).text;
}

void Grid::setTextMatrix(int row, int col, const std::string& text) {
    check(row, col);
    cell(row, col).text = text;
}

void Grid::clearTexts() {
    for (Cell& c : cells_) c.text.clear();
}

double Grid::colWidth(int col) const {
    check(0, col);
    const double w = colWidths_[static_cast<size_t>(col)];
    return w < 0 ? kDefaultColWidth : w;
}

void Grid::setColWidth(int col, double width) {
    check(0, col);
    colWidths_[static_cast<size_t>(col)] = width < 0 ? -1 : width;
}

double Grid::rowHeight(int row) const {
    check(row, 0);
    const double h = rowHeights_[static_cast<size_t>(row)];
    return h < 0 ? kDefaultRowHeight : h;
}

void Grid::setRowHeight(int row, double height) {
    check(row, 0);
    rowHeights_[static_cast<size_t>(row)] = height < 0 ? -1 : height;
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

void Grid::setColAlignment(int col, CellAlign a) {
    check(0, col);
    colAlign_[static_cast<size_t>(col)] = a;
}

void Grid::setFixedAlignment(int col, CellAlign a) {
    check(0, col);
    fixedAlign_[static_cast<size_t>(col)] = a;
}

std::optional<CellAlign> Grid::colAlignment(int col) const {
    check(0, col);
    return colAlign_[static_cast<size_t>(col)];
}

std::optional<CellAlign> Grid::fixedAlignment(int col) const {
    check(0, col);
    return fixedAlign_[static_cast<size_t>(col)];
}

void Grid::setCellBackColor(int row, int col, uint32_t color) {
    check(row, col);
    cell(row, col).backColor = color;
}

uint32_t Grid::cellBackColor(int row, int col) const {
    check(row, col);
    return cell(row, col).backColor.value_or(backColor_);
}

void Grid::setTopRow(int row) { topRow_ = clampScrolled(row, fixedRows_, rows_); }

void Grid::setLeftCol(int col) { leftCol_ = clampScrolled(col, fixedCols_, cols_); }

void Grid::setCurrentCell(int row, int col) {
    check(row, col);
    if (row == row_ && col == col_) return;
    row_ = row;
    col_ = col;
    fireEvent(onSelChange);
}

void Grid::keyPress(int code) {
    int keyAscii = code;
    fireEvent(onKeyPress, keyAscii);
}

bool Grid::userClickCell(int row, int col) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_ || !focusByUser()) return false;
    if (!acceptsInput()) return false;
    // A click on a fixed cell leaves the current cell alone.
    if (row >= fixedRows_ && col >= fixedCols_ && row < rows_ && col < cols_) setCurrentCell(row, col);
    return true;
}

bool Grid::userDoubleClickCell(int row, int col) {
    if (!userClickCell(row, col) || !acceptsInput()) return false;
    fireEvent(onDblClick);
    return true;
}

bool Grid::userKey(int code) { return keyByUser(code); }

void Grid::describe(std::string& line, std::vector<std::string>& details) const {
    line += " rows " + std::to_string(rows_) + " cols " + std::to_string(cols_) + " fixed " + std::to_string(fixedRows_) +
            "," + std::to_string(fixedCols_) + " top " + std::to_string(topRow_) + " left " + std::to_string(leftCol_) +
            " cell " + std::to_string(row_) + "," + std::to_string(col_);
    if (backColor_ != kColorWindow) line += " back " + formatColor(backColor_);

    std::string widths = "widths";
    for (int c = 0; c < cols_; ++c) widths += " " + formatNumber(colWidth(c));
    details.push_back(widths);
    if (std::any_of(rowHeights_.begin(), rowHeights_.end(), [](double h) { return h >= 0; })) {
        std::string heights = "heights";
        for (int r = 0; r < rows_; ++r) heights += " " + formatNumber(rowHeight(r));
        details.push_back(heights);
    }
    std::string aligns;
    for (int c = 0; c < cols_; ++c) {
        if (const auto& a = colAlign_[static_cast<size_t>(c)]) aligns += " " + std::to_string(c) + "=" + alignName(*a);
        if (const auto& a = fixedAlign_[static_cast<size_t>(c)]) aligns += " fixed" + std::to_string(c) + "=" + alignName(*a);
    }
    if (!aligns.empty()) details.push_back("align" + aligns);
    for (int r = 0; r < rows_; ++r) {
        std::string text = std::to_string(r) + ":";
        for (int c = 0; c < cols_; ++c) {
            const Cell& x = cell(r, c);
            text += (c == 0 ? " " : " | ") + quoted(x.text);
            if (x.backColor) text += " back " + formatColor(*x.backColor);
        }
        details.push_back(text);
    }
}

}  // namespace qm::ui::headless
