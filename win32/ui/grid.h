// The Win32 flex grid: no Windows control fits, so it is a child window drawn here: the
// cells with their texts, alignments and colours, the fixed rows and columns shaded, the
// current cell, scrolling by TopRow and LeftCol with its own scroll bars. Clicks,
// double clicks and keys reach the presenter as SelChange, DblClick and KeyPress.
// A cell index outside the grid is error 381.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win32/ui/widget.h"

namespace qm::win32::ui {

class Grid final : public ControlBase<qm::ui::Grid> {
public:
    static constexpr double kDefaultColWidth = 960;
    static constexpr double kDefaultRowHeight = 240;

    Grid(Form& form, Widget* container, std::string name, const Bounds& b);

    int rows() const override { return rows_; }
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
    void setColWidth(int col, double width) override;
    double rowHeight(int row) const override;
    double colPos(int col) const override;
    double rowPos(int row) const override;
    void setColAlignment(int col, qm::ui::CellAlign a) override;
    void setFixedAlignment(int col, qm::ui::CellAlign a) override;
    void setBackColor(uint32_t color) override;
    uint32_t backColor() const override { return backColor_; }
    void setCellBackColor(int row, int col, uint32_t color) override;
    uint32_t cellBackColor(int row, int col) const override;
    int topRow() const override { return topRow_; }
    void setTopRow(int row) override;
    int leftCol() const override { return leftCol_; }
    void setLeftCol(int col) override;
    int row() const override { return row_; }
    int col() const override { return col_; }
    void setCurrentCell(int row, int col) override;

    // The cell under a point of the client area, in pixels; nothing outside the cells.
    std::optional<std::pair<int, int>> cellAt(int x, int y) const;
    // A cell's rectangle in the client area, in pixels, as drawn now (empty when scrolled
    // out of view).
    RECT cellRect(int row, int col) const;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void describeOwn(automation::Writer& w) const override;

private:
    struct Cell {
        std::string text;
        std::optional<uint32_t> backColor;
    };

    void check(int row, int col) const;
    Cell& cell(int r, int c) { return cells_[static_cast<size_t>(r) * static_cast<size_t>(cols_) + static_cast<size_t>(c)]; }
    const Cell& cell(int r, int c) const {
        return cells_[static_cast<size_t>(r) * static_cast<size_t>(cols_) + static_cast<size_t>(c)];
    }
    void resize(int rows, int cols);
    void keepInside();
    int colPixels(int c) const;
    int rowPixels(int r) const;
    // Left edges of the columns as drawn (fixed ones, then from LeftCol); -1 when hidden.
    std::vector<int> columnEdges() const;
    std::vector<int> rowEdges() const;
    void changed();  // redraw and update the scroll bars
    void updateScrollBars();
    void scroll(int bar, int request);
    void click(LPARAM lParam, bool doubleClick);
    void key(WPARAM vk);
    void character(WPARAM ch);
    void paint(HDC dc, const RECT& client);
    void ensureVisible(int row, int col);

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<Cell> cells_;
    std::vector<double> colWidths_;  // negative: the default
    std::vector<double> rowHeights_;
    std::vector<std::optional<qm::ui::CellAlign>> colAlign_;
    std::vector<std::optional<qm::ui::CellAlign>> fixedAlign_;
    uint32_t backColor_ = qm::ui::kColorWindow;
    int topRow_ = 0;
    int leftCol_ = 0;
    int row_ = 0;
    int col_ = 0;
    bool updatingBars_ = false;
};

}  // namespace qm::win32::ui
