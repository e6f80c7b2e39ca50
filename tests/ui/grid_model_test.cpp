// The flex grid's data as both toolkits keep it: defaults, positions, clamped scrolling,
// resizing, the current cell, colours and alignments, and error 381 outside the grid.
#include <gtest/gtest.h>

#include "core/host/error.h"
#include "core/ui/grid_model.h"
#include "tests/ui/window.h"

namespace qm::ui {
namespace {

using headless::testing::errorNumberOf;

TEST(GridModel, StartsAsTheFlexGridDoes) {
    GridModel grid("fxgNodes");
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.cols(), 2);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.leftCol(), 1);
    EXPECT_EQ(grid.backColor(), kColorWindow);
    EXPECT_FALSE(grid.rowHeightsSet());
}

TEST(GridModel, PositionsAreWhereTheScrolledGridDrawsTheCells) {
    GridModel grid("fxgNodes");
    grid.setRows(6);
    grid.setCols(4);
    grid.setColWidth(0, 500);
    grid.setColWidth(2, 1200);
    EXPECT_EQ(grid.colWidth(1), 960);
    EXPECT_EQ(grid.colPos(0), 0);
    EXPECT_EQ(grid.colPos(3), 500 + 960 + 1200);
    EXPECT_EQ(grid.rowPos(4), 4 * 240);
    grid.setRowHeight(1, 400);
    EXPECT_TRUE(grid.rowHeightsSet());
    EXPECT_EQ(grid.rowPos(4), 3 * 240 + 400);
    // Scrolled: the fixed row stays, row 3 follows it, rows 1 and 2 are above the view.
    grid.setTopRow(3);
    EXPECT_EQ(grid.rowPos(0), 0);
    EXPECT_EQ(grid.rowPos(3), 240);
    EXPECT_EQ(grid.rowPos(4), 2 * 240);
    EXPECT_EQ(grid.rowPos(1), 240 - 240 - 400);
    grid.setLeftCol(2);
    EXPECT_EQ(grid.colPos(3), 500 + 1200);
    EXPECT_EQ(grid.colPos(1), 500 - 960);
    // The cells under points: fixed ones, scrolled ones, none past the last.
    EXPECT_EQ(grid.cellAt(10, 10), std::make_pair(0, 0));
    EXPECT_EQ(grid.cellAt(500 + 1199, 240 + 239), std::make_pair(3, 2));
    EXPECT_EQ(grid.cellAt(500 + 1200, 2 * 240), std::make_pair(4, 3));
    EXPECT_EQ(grid.cellAt(500 + 1200 + 960, 10), std::nullopt);
    EXPECT_EQ(grid.cellAt(10, 4 * 240), std::nullopt);
    grid.setRowHeight(1, -5);
    EXPECT_FALSE(grid.rowHeightsSet());
    grid.setColWidth(2, -1);  // back to the default
    EXPECT_EQ(grid.colPos(3), 500 + 960);
    EXPECT_EQ(errorNumberOf([&] { grid.colPos(4); }), 381);
    EXPECT_EQ(errorNumberOf([&] { grid.rowHeight(-1); }), 381);
}

TEST(GridModel, TopRowAndLeftColStayInTheNonFixedRange) {
    GridModel grid("fxgNodes");
    grid.setRows(10);
    grid.setCols(3);
    grid.setFixed(2, 1);
    grid.setTopRow(0);
    EXPECT_EQ(grid.topRow(), 2);
    grid.setTopRow(50);
    EXPECT_EQ(grid.topRow(), 9);
    grid.setLeftCol(0);
    EXPECT_EQ(grid.leftCol(), 1);
    grid.setRows(5);  // shrinking pulls TopRow in
    EXPECT_EQ(grid.topRow(), 4);
    // With no scrolling rows left, TopRow is the last row there is.
    grid.setRows(2);
    grid.setTopRow(0);
    EXPECT_EQ(grid.topRow(), 1);
    grid.setRows(0);
    EXPECT_EQ(grid.topRow(), 0);
    EXPECT_EQ(grid.fixedRows(), 0);
    EXPECT_EQ(grid.row(), 0);
}

TEST(GridModel, ResizingKeepsOverlappingCellsAndClearsNewOnes) {
    GridModel grid("fxgNodes");
    grid.setRows(3);
    grid.setCols(3);
    grid.setTextMatrix(1, 1, "x1");
    grid.setTextMatrix(2, 2, "x2");
    grid.setTextMatrix(2, 0, "row 2");
    grid.setCellBackColor(1, 1, 0x0000FF);
    grid.setBackColor(0xFFFFFF);
    EXPECT_TRUE(grid.setCurrentCell(2, 2));
    grid.setRows(2);
    grid.setCols(2);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
    grid.setRows(4);
    grid.setCols(4);
    EXPECT_EQ(grid.textMatrix(1, 1), "x1");
    EXPECT_EQ(grid.textMatrix(2, 2), "");  // dropped, then added again empty
    EXPECT_EQ(grid.textMatrix(2, 0), "");
    EXPECT_EQ(grid.cellBackColor(1, 1), 0x0000FFu);
    EXPECT_EQ(grid.cellBackColor(3, 3), 0xFFFFFFu);  // the grid's own
    EXPECT_EQ(errorNumberOf([&] { grid.textMatrix(4, 0); }), 381);
    grid.clearTexts();
    EXPECT_EQ(grid.textMatrix(1, 1), "");
    EXPECT_EQ(grid.cellBackColor(1, 1), 0x0000FFu);
    // Adding rows alone keeps every cell in its place.
    grid.setTextMatrix(3, 2, "last");
    grid.setRows(6);
    EXPECT_EQ(grid.textMatrix(3, 2), "last");
}

TEST(GridModel, BadCountsAreInvalidPropertyValues) {
    GridModel grid("fxgNodes");
    EXPECT_EQ(errorNumberOf([&] { grid.setRows(-1); }), 380);
    EXPECT_EQ(errorNumberOf([&] { grid.setCols(-1); }), 380);
    EXPECT_EQ(errorNumberOf([&] { grid.setFixed(3, 0); }), 380);
    EXPECT_EQ(errorNumberOf([&] { grid.setFixed(0, -1); }), 380);
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.fixedRows(), 1);
    try {
        grid.setTextMatrix(2, 0, "x");
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 381);
        EXPECT_EQ(e.description(), "Subscript out of range (fxgNodes cell 2,0)");
    }
}

TEST(GridModel, CurrentCellMovesOnlyInsideAndSaysWhenItMoved) {
    GridModel grid("fxgNodes");
    grid.setRows(4);
    grid.setCols(3);
    EXPECT_FALSE(grid.setCurrentCell(1, 1));  // there already
    EXPECT_TRUE(grid.setCurrentCell(0, 2));   // code may make a fixed cell current
    EXPECT_EQ(errorNumberOf([&] { grid.setCurrentCell(4, 0); }), 381);
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_TRUE(grid.contains(3, 2));
    EXPECT_FALSE(grid.contains(3, 3));
    EXPECT_FALSE(grid.contains(-1, 0));
    EXPECT_TRUE(grid.isFixed(0, 2));
    EXPECT_TRUE(grid.isFixed(2, 0));
    EXPECT_FALSE(grid.isFixed(1, 1));
}

TEST(GridModel, AlignmentsAreKeptPerColumnForFixedAndOtherCells) {
    GridModel grid("fxgNodes");
    grid.setCols(3);
    EXPECT_EQ(grid.colAlignment(2), std::nullopt);
    grid.setColAlignment(2, CellAlign::RightCenter);
    grid.setFixedAlignment(2, CellAlign::CenterCenter);
    EXPECT_EQ(grid.colAlignment(2), CellAlign::RightCenter);
    EXPECT_EQ(grid.fixedAlignment(2), CellAlign::CenterCenter);
    EXPECT_EQ(grid.fixedAlignment(1), std::nullopt);
    EXPECT_EQ(errorNumberOf([&] { grid.setColAlignment(3, CellAlign::LeftCenter); }), 381);
}

}  // namespace
}  // namespace qm::ui
