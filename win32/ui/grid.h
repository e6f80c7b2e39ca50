// The Win32 flex grid: no Windows control fits, so it is a child window drawn here: the
// cells with their texts, alignments and colours, the fixed rows and columns shaded, the
// current cell, scrolling by TopRow and LeftCol with its own scroll bars. Clicks,
// double clicks and keys reach the presenter as SelChange, DblClick and KeyPress. The
// grid's data and its errors (381 for a cell outside the grid) are GridModel's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/grid_model.h"
#include "win32/ui/widget.h"

namespace qm::win32::ui {

class Grid final : public ControlBase<qm::ui::Grid> {
public:
    static constexpr double kDefaultColWidth = qm::ui::GridModel::kDefaultColWidth;
    static constexpr double kDefaultRowHeight = qm::ui::GridModel::kDefaultRowHeight;

    Grid(Form& form, Widget* container, std::string name, const Bounds& b);

    int rows() const override { return model_.rows(); }
    void setRows(int n) override;
    int cols() const override { return model_.cols(); }
    void setCols(int n) override;
    void setFixed(int rows, int cols) override;
    int fixedRows() const noexcept { return model_.fixedRows(); }
    int fixedCols() const noexcept { return model_.fixedCols(); }
    std::string textMatrix(int row, int col) const override { return model_.textMatrix(row, col); }
    void setTextMatrix(int row, int col, const std::string& text) override;
    void clearTexts() override;
    double colWidth(int col) const override { return model_.colWidth(col); }
    void setColWidth(int col, double width) override;
    double rowHeight(int row) const override { return model_.rowHeight(row); }
    // Where the cell is drawn now, from the window's outer edge (its border included), so
    // that a control placed at the grid's left + ColPos lies exactly over the column.
    double colPos(int col) const override;
    double rowPos(int row) const override;
    void setColAlignment(int col, qm::ui::CellAlign a) override;
    void setFixedAlignment(int col, qm::ui::CellAlign a) override;
    void setBackColor(uint32_t color) override;
    uint32_t backColor() const override { return model_.backColor(); }
    void setCellBackColor(int row, int col, uint32_t color) override;
    uint32_t cellBackColor(int row, int col) const override { return model_.cellBackColor(row, col); }
    int topRow() const override { return model_.topRow(); }
    void setTopRow(int row) override;
    int leftCol() const override { return model_.leftCol(); }
    void setLeftCol(int col) override;
    int row() const override { return model_.row(); }
    int col() const override { return model_.col(); }
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
    int colPixels(int c) const;
    int rowPixels(int r) const;
    // Left edges of the columns as drawn (fixed ones, then from LeftCol); -1 when hidden.
    std::vector<int> columnEdges() const;
    std::vector<int> rowEdges() const;
    // The client area's offset inside the window (the border), in pixels.
    POINT clientOffset() const;
    void changed();  // redraw and update the scroll bars
    void updateScrollBars();
    void scroll(int bar, int request);
    void click(LPARAM lParam, bool doubleClick);
    void key(WPARAM vk);
    void character(WPARAM ch);
    void paint(HDC dc, const RECT& client);
    void ensureVisible(int row, int col);

    qm::ui::GridModel model_;
    bool updatingBars_ = false;
};

}  // namespace qm::win32::ui
