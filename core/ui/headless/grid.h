// The headless flex grid: rows and columns counted from 0 with the fixed ones first, cell
// texts and colours, column widths and row heights, scrolling (TopRow, LeftCol) and the
// current cell. A cell index outside the grid is error 381, as in the flex grid.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/headless/widget.h"

namespace qm::ui::headless {

class Grid final : public ControlBase<ui::Grid> {
public:
    static constexpr double kDefaultColWidth = 960;
    static constexpr double kDefaultRowHeight = 240;

    Grid(Form& form, Widget* container, std::string name, const Bounds& b);

    int rows() const override { return rows_; }
    // Shrinking drops cells (and moves the current cell, TopRow and LeftCol inside);
    // growing adds empty ones.
    void setRows(int n) override;
    int cols() const override { return cols_; }
    void setCols(int n) override;
    void setFixed(int rows, int cols) override;
    int fixedRows() const noexcept { return fixedRows_; }
    int fixedCols() const noexcept { return fixedCols_; }
    std::string textMatrix(int row, int col) const override;
    void setTextMatrix(int row, int col, const std::string& text) override;
    void clearTexts() override;
    double colWidth(int col) const override;
    // A negative width restores the default.
    void setColWidth(int col, double width) override;
    double rowHeight(int row) const override;
    void setRowHeight(int row, double height);
    // Sums of the widths (heights) before the column (row), from column (row) 0 whatever
    // the scrolling.
    double colPos(int col) const override;
    double rowPos(int row) const override;
    void setColAlignment(int col, CellAlign a) override;
    void setFixedAlignment(int col, CellAlign a) override;
    std::optional<CellAlign> colAlignment(int col) const;
    std::optional<CellAlign> fixedAlignment(int col) const;
    void setBackColor(uint32_t color) override { backColor_ = color; }
    uint32_t backColor() const override { return backColor_; }
    void setCellBackColor(int row, int col, uint32_t color) override;
    uint32_t cellBackColor(int row, int col) const override;
    int topRow() const override { return topRow_; }
    // Clamped to the non-fixed rows (columns).
    void setTopRow(int row) override;
    int leftCol() const override { return leftCol_; }
    void setLeftCol(int col) override;
    int row() const override { return row_; }
    int col() const override { return col_; }
    void setCurrentCell(int row, int col) override;
    void keyPress(int code) override;
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // A click on a cell: focus (with validation), then the cell becomes current (a fixed
    // cell does not), raising onSelChange when it moved.
    bool userClickCell(int row, int col);
    // The click, then onDblClick.
    bool userDoubleClickCell(int row, int col);
    // Focus, then the key as the keyboard sends it (onKeyPress).
    bool userKey(int code);

private:
    struct Cell {
        std::string text;
        std::optional<uint32_t> backColor;
    };

    void check(int row, int col) const;
    Cell& cell(int row, int col) { return cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)]; }
    const Cell& cell(int row, int col) const { return cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)]; }
    void resize(int rows, int cols);
    void keepInside();

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<Cell> cells_;
    std::vector<double> colWidths_;   // negative: the default
    std::vector<double> rowHeights_;
    std::vector<std::optional<CellAlign>> colAlign_;
    std::vector<std::optional<CellAlign>> fixedAlign_;
    uint32_t backColor_ = kColorWindow;
    int topRow_ = 0;
    int leftCol_ = 0;
    int row_ = 0;
    int col_ = 0;
};

}  // namespace qm::ui::headless
