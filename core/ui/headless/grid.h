// The headless flex grid: the grid's data (GridModel) with the events, the user's clicks
// and keys, and the line the window dump shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/grid_model.h"
#include "core/ui/headless/widget.h"

namespace qm::ui::headless {

class Grid final : public ControlBase<ui::Grid> {
public:
    static constexpr double kDefaultColWidth = GridModel::kDefaultColWidth;
    static constexpr double kDefaultRowHeight = GridModel::kDefaultRowHeight;

    Grid(Form& form, Widget* container, std::string name, const Bounds& b);

    int rows() const override { return model_.rows(); }
    void setRows(int n) override { model_.setRows(n); }
    int cols() const override { return model_.cols(); }
    void setCols(int n) override { model_.setCols(n); }
    void setFixed(int rows, int cols) override { model_.setFixed(rows, cols); }
    int fixedRows() const noexcept { return model_.fixedRows(); }
    int fixedCols() const noexcept { return model_.fixedCols(); }
    std::string textMatrix(int row, int col) const override { return model_.textMatrix(row, col); }
    void setTextMatrix(int row, int col, const std::string& text) override { model_.setTextMatrix(row, col, text); }
    void clearTexts() override { model_.clearTexts(); }
    double colWidth(int col) const override { return model_.colWidth(col); }
    void setColWidth(int col, double width) override { model_.setColWidth(col, width); }
    double rowHeight(int row) const override { return model_.rowHeight(row); }
    void setRowHeight(int row, double height) { model_.setRowHeight(row, height); }
    double colPos(int col) const override { return model_.colPos(col); }
    double rowPos(int row) const override { return model_.rowPos(row); }
    void setColAlignment(int col, CellAlign a) override { model_.setColAlignment(col, a); }
    void setFixedAlignment(int col, CellAlign a) override { model_.setFixedAlignment(col, a); }
    std::optional<CellAlign> colAlignment(int col) const { return model_.colAlignment(col); }
    std::optional<CellAlign> fixedAlignment(int col) const { return model_.fixedAlignment(col); }
    void setBackColor(uint32_t color) override { model_.setBackColor(color); }
    uint32_t backColor() const override { return model_.backColor(); }
    void setCellBackColor(int row, int col, uint32_t color) override { model_.setCellBackColor(row, col, color); }
    uint32_t cellBackColor(int row, int col) const override { return model_.cellBackColor(row, col); }
    int topRow() const override { return model_.topRow(); }
    void setTopRow(int row) override { model_.setTopRow(row); }
    int leftCol() const override { return model_.leftCol(); }
    void setLeftCol(int col) override { model_.setLeftCol(col); }
    // The cell drawn at a point (twips from the grid's top-left corner), if any.
    std::optional<std::pair<int, int>> cellAt(double x, double y) const { return model_.cellAt(x, y); }
    int row() const override { return model_.row(); }
    int col() const override { return model_.col(); }
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
    GridModel model_;
};

}  // namespace qm::ui::headless
