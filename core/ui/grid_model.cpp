// The flex grid's data: sizes, cells, scrolling and the current cell.
#include "core/ui/grid_model.h"

#include <algorithm>

#include "core/host/error.h"

namespace qm::ui {

namespace {

// The first non-fixed index when `v` is below it, the last index when past the end; with
// no non-fixed index at all, the last one there is.
int clampScrolled(int v, int fixed, int count) {
    if (count <= fixed) return std::max(count - 1, 0);
    return std::clamp(v, fixed, count - 1);
}

}  // namespace

GridModel::GridModel(std::string name) : name_(std::move(name)) {
    resize(2, 2);
    setFixed(1, 1);
    setCurrentCell(1, 1);
}

void GridModel::check(int row, int col) const {
    if (!contains(row, col)) {
        throw host::HostError(kSubscriptOutOfRange, "Subscript out of range (" + name_ + " cell " + std::to_string(row) +
                                                        "," + std::to_string(col) + ")");
    }
}

void GridModel::resize(int rows, int cols) {
    if (cols == cols_) {
        // Rows are added one at a time while a list is filled: no copy of the cells then.
        cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    } else {
        std::vector<Cell> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        for (int r = 0; r < std::min(rows, rows_); ++r) {
            for (int c = 0; c < std::min(cols, cols_); ++c) {
                cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] = std::move(cells_[at(r, c)]);
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

void GridModel::keepInside() {
    topRow_ = clampScrolled(topRow_, fixedRows_, rows_);
    leftCol_ = clampScrolled(leftCol_, fixedCols_, cols_);
    row_ = std::clamp(row_, 0, std::max(rows_ - 1, 0));
    col_ = std::clamp(col_, 0, std::max(cols_ - 1, 0));
}

void GridModel::setRows(int n) {
    if (n < 0) throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Rows)");
    resize(n, cols_);
}

void GridModel::setCols(int n) {
    if (n < 0) throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + ".Cols)");
    resize(rows_, n);
}

void GridModel::setFixed(int rows, int cols) {
    if (rows < 0 || cols < 0 || rows > rows_ || cols > cols_) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " fixed rows/cols)");
    }
    fixedRows_ = rows;
    fixedCols_ = cols;
    keepInside();
}

const GridModel::Cell& GridModel::cell(int row, int col) const {
    check(row, col);
    return cells_[at(row, col)];
}

void GridModel::setTextMatrix(int row, int col, const std::string& text) {
    check(row, col);
    cells_[at(row, col)].text = text;
}

void GridModel::clearTexts() {
    for (Cell& c : cells_) c.text.clear();
}

double GridModel::colWidth(int col) const {
    check(0, col);
    const double w = colWidths_[static_cast<size_t>(col)];
    return w < 0 ? kDefaultColWidth : w;
}

void GridModel::setColWidth(int col, double width) {
    check(0, col);
    colWidths_[static_cast<size_t>(col)] = width < 0 ? -1 : width;
}

double GridModel::rowHeight(int row) const {
    check(row, 0);
    const double h = rowHeights_[static_cast<size_t>(row)];
    return h < 0 ? kDefaultRowHeight : h;
}

void GridModel::setRowHeight(int row, double height) {
    check(row, 0);
    rowHeights_[static_cast<size_t>(row)] = height < 0 ? -1 : height;
}

bool GridModel::rowHeightsSet() const {
    return std::any_of(rowHeights_.begin(), rowHeights_.end(), [](double h) { return h >= 0; });
}

double GridModel::colPos(int col) const {
    check(0, col);
    return scrolledPos(col, fixedCols_, leftCol_, [this](int c) { return colWidth(c); });
}

double GridModel::rowPos(int row) const {
    check(row, 0);
    return scrolledPos(row, fixedRows_, topRow_, [this](int r) { return rowHeight(r); });
}

std::optional<std::pair<int, int>> GridModel::cellAt(double x, double y) const {
    const auto col = indexAt(x, cols_, fixedCols_, leftCol_, [this](int c) { return colWidth(c); });
    const auto row = indexAt(y, rows_, fixedRows_, topRow_, [this](int r) { return rowHeight(r); });
    if (!row || !col) return std::nullopt;
    return std::make_pair(*row, *col);
}

void GridModel::setColAlignment(int col, CellAlign a) {
    check(0, col);
    colAlign_[static_cast<size_t>(col)] = a;
}

void GridModel::setFixedAlignment(int col, CellAlign a) {
    check(0, col);
    fixedAlign_[static_cast<size_t>(col)] = a;
}

std::optional<CellAlign> GridModel::colAlignment(int col) const {
    check(0, col);
    return colAlign_[static_cast<size_t>(col)];
}

std::optional<CellAlign> GridModel::fixedAlignment(int col) const {
    check(0, col);
    return fixedAlign_[static_cast<size_t>(col)];
}

void GridModel::setCellBackColor(int row, int col, uint32_t color) {
    check(row, col);
    cells_[at(row, col)].backColor = color;
}

uint32_t GridModel::cellBackColor(int row, int col) const { return cell(row, col).backColor.value_or(backColor_); }

void GridModel::setTopRow(int row) { topRow_ = clampScrolled(row, fixedRows_, rows_); }

void GridModel::setLeftCol(int col) { leftCol_ = clampScrolled(col, fixedCols_, cols_); }

bool GridModel::setCurrentCell(int row, int col) {
    check(row, col);
    if (row == row_ && col == col_) return false;
    row_ = row;
    col_ = col;
    return true;
}

std::optional<std::pair<int, int>> GridModel::cellAfterKey(int keyCode) const {
    if (rows_ <= fixedRows_ || cols_ <= fixedCols_) return std::nullopt;
    int r = std::max(row_, fixedRows_), c = std::max(col_, fixedCols_);
    switch (keyCode) {
        case vk::kUp: --r; break;
        case vk::kDown: ++r; break;
        case vk::kLeft: --c; break;
        case vk::kRight: ++c; break;
        case vk::kPageUp: r -= 10; break;
        case vk::kPageDown: r += 10; break;
        case vk::kHome: c = fixedCols_; break;
        case vk::kEnd: c = cols_ - 1; break;
        default: return std::nullopt;
    }
    return std::make_pair(std::clamp(r, fixedRows_, rows_ - 1), std::clamp(c, fixedCols_, cols_ - 1));
}

}  // namespace qm::ui
