// The flex grid's data, kept once for both toolkits: rows and columns counted from 0 with
// the fixed ones first, cell texts and colours, column widths and row heights, alignments,
// scrolling (TopRow, LeftCol) and the current cell. The controls add events and drawing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ui/ui.h"

namespace qm::ui {

class GridModel {
public:
    static constexpr double kDefaultColWidth = 960;
    static constexpr double kDefaultRowHeight = 240;
    // A cell index outside the grid, as the flex grid numbers it.
    static constexpr int32_t kSubscriptOutOfRange = 381;
    // A negative row or column count, fixed ones past the grid.
    static constexpr int32_t kInvalidPropertyValue = 380;

    struct Cell {
        std::string text;
        std::optional<uint32_t> backColor;  // the grid's own when not set
    };

    // Starts as the flex grid does: two rows and two columns, one of each fixed, the
    // current cell 1,1. `name` is the control's, for error descriptions.
    explicit GridModel(std::string name);

    int rows() const noexcept { return rows_; }
    int cols() const noexcept { return cols_; }
    // Shrinking drops cells (and moves the current cell, TopRow and LeftCol inside);
    // growing adds empty ones.
    void setRows(int n);
    void setCols(int n);
    void setFixed(int rows, int cols);
    int fixedRows() const noexcept { return fixedRows_; }
    int fixedCols() const noexcept { return fixedCols_; }
    bool contains(int row, int col) const noexcept { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    bool isFixed(int row, int col) const noexcept { return row < fixedRows_ || col < fixedCols_; }

    const Cell& cell(int row, int col) const;
    std::string textMatrix(int row, int col) const { return cell(row, col).text; }
    void setTextMatrix(int row, int col, const std::string& text);
    // Texts only: the cells keep their colours.
    void clearTexts();

    double colWidth(int col) const;
    // A negative width (height) restores the default.
    void setColWidth(int col, double width);
    double rowHeight(int row) const;
    void setRowHeight(int row, double height);
    // Whether any row has a height of its own.
    bool rowHeightsSet() const;
    // Where the column (row) is drawn, from the grid's left (top) edge: the fixed ones
    // first, then the others from LeftCol (TopRow); one scrolled out of view before it is
    // at a negative place.
    double colPos(int col) const;
    double rowPos(int row) const;
    // The cell drawn at a point (twips from the grid's top-left corner), if any.
    std::optional<std::pair<int, int>> cellAt(double x, double y) const;
    // The place of column (row) `i` when those before `fixed` are always shown and the
    // others from `first` on, `size(k)` being the extent of k: what ColPos and RowPos
    // measure, in twips here and in pixels where a toolkit draws.
    template <class Size>
    static auto scrolledPos(int i, int fixed, int first, Size size) {
        decltype(size(0)) pos = 0;
        for (int k = 0; k < std::min(i, fixed); ++k) pos += size(k);
        if (i < fixed) return pos;
        for (int k = first; k < i; ++k) pos += size(k);
        for (int k = i; k < first; ++k) pos -= size(k);
        return pos;
    }
    // The column (row) drawn at `pos`, among `count` of them, placed as scrolledPos places
    // them: what CellAt finds, in twips here and in pixels where a toolkit draws.
    template <class Size>
    static std::optional<int> indexAt(double pos, int count, int fixed, int first, Size size) {
        double at = 0;
        for (int k = 0; k < count; ++k) {
            if (k >= fixed && k < first) continue;  // scrolled out of view
            if (pos >= at && pos < at + size(k)) return k;
            at += size(k);
        }
        return std::nullopt;
    }

    void setColAlignment(int col, CellAlign a);
    void setFixedAlignment(int col, CellAlign a);
    std::optional<CellAlign> colAlignment(int col) const;
    std::optional<CellAlign> fixedAlignment(int col) const;

    void setBackColor(uint32_t color) noexcept { backColor_ = color; }
    uint32_t backColor() const noexcept { return backColor_; }
    void setCellBackColor(int row, int col, uint32_t color);
    uint32_t cellBackColor(int row, int col) const;

    int topRow() const noexcept { return topRow_; }
    int leftCol() const noexcept { return leftCol_; }
    // Clamped to the non-fixed rows (columns).
    void setTopRow(int row);
    void setLeftCol(int col);

    int row() const noexcept { return row_; }
    int col() const noexcept { return col_; }
    // Error 381 outside the grid; false when the cell was current already (the control
    // raises SelChange only for a move).
    bool setCurrentCell(int row, int col);
    // Where a key going down (vk codes: the arrows, Page Up and Down, Home and End) moves
    // the current cell, kept among the non-fixed cells; nothing for another key or a grid
    // without such cells.
    std::optional<std::pair<int, int>> cellAfterKey(int keyCode) const;

    // Error 381 unless the cell is inside the grid.
    void check(int row, int col) const;

private:
    size_t at(int row, int col) const noexcept {
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }
    void resize(int rows, int cols);
    void keepInside();

    std::string name_;
    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<Cell> cells_;
    std::vector<double> colWidths_;  // negative: the default
    std::vector<double> rowHeights_;
    std::vector<std::optional<CellAlign>> colAlign_;
    std::vector<std::optional<CellAlign>> fixedAlign_;
    uint32_t backColor_ = kColorWindow;
    int topRow_ = 0;
    int leftCol_ = 0;
    int row_ = 0;
    int col_ = 0;
};

}  // namespace qm::ui
