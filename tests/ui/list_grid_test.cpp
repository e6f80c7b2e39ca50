// The list view (keys, selection, sorting, check events) and the flex grid (positions,
// scrolling, resizing, the current cell and its events).
#include <vector>

#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

std::vector<std::string> texts(const ui::ListView& list) {
    std::vector<std::string> out;
    for (int row = 1; row <= list.count(); ++row) out.push_back(list.itemText(row));
    return out;
}

TEST(ListView, KeysAreUniqueAndPositionsChecked) {
    Window w;
    auto& list = w.form->addListView("lstShapes", nullptr, {});
    list.insertItem(1, "a", "k1");
    list.insertItem(2, "b");
    list.insertItem(3, "c");  // empty keys may repeat
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(1, "d", "k1"); }), 35602);
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(5, "d"); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(0, "d"); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.itemText(4); }), 35600);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.itemKey(1), "k1");
    // A removed key can be used again.
    list.removeItem(1);
    list.insertItem(1, "a2", "k1");
    EXPECT_EQ(list.itemKey(1), "k1");
}

TEST(ListView, SelectionFollowsItsRowThroughInsertsAndRemovals) {
    Window w;
    auto& list = w.form->addListView("lstShapes", nullptr, {});
    for (const char* t : {"a", "b", "c", "d"}) list.insertItem(list.count() + 1, t);
    list.selectRow(3);  // "c"
    list.insertItem(1, "z");
    EXPECT_EQ(list.selectedRow(), 4);
    list.removeItem(2);
    EXPECT_EQ(list.selectedRow(), 3);
    EXPECT_EQ(list.itemText(*list.selectedRow()), "c");
    list.removeItem(4);  // after the selection: no move
    EXPECT_EQ(list.selectedRow(), 3);
    list.removeItem(3);  // the selected row itself
    EXPECT_EQ(list.selectedRow(), std::nullopt);
    list.selectRow(1);
    list.clear();
    EXPECT_EQ(list.selectedRow(), std::nullopt);
}

TEST(ListView, SortOnceIsStableAndKeepsTheSelection) {
    Window w;
    auto& list = w.form->addListView("lstShapes", nullptr, {});
    list.addColumn("Objects", 3700);
    list.addColumn("Zorder", 0);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Rect 1", "00002"}, {"Oval 2", "00010"}, {"Line 3", "00002"}, {"Text 4", "00001"}, {"Arc 5", "00010"}};
    for (const auto& [text, z] : rows) {
        list.insertItem(list.count() + 1, text);
        list.setSubItem(list.count(), 1, z);
    }
    list.selectRow(3);  // "Line 3"
    list.sortOnce(1, true);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"Oval 2", "Arc 5", "Rect 1", "Line 3", "Text 4"}));
    EXPECT_EQ(list.itemText(*list.selectedRow()), "Line 3");
    EXPECT_EQ(list.subItem(1, 1), "00010");

    list.sortOnce(1, false);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"Text 4", "Rect 1", "Line 3", "Oval 2", "Arc 5"}));
    // Only once: a later insert stays where it was put.
    list.insertItem(1, "Zed 6");
    EXPECT_EQ(list.itemText(1), "Zed 6");
    // By the item text, without regard to case.
    list.insertItem(1, "apple");
    list.sortOnce(0, false);
    EXPECT_EQ(texts(list).front(), "apple");
    EXPECT_EQ(texts(list)[1], "Arc 5");

    EXPECT_EQ(errorNumberOf([&] { list.setSubItem(1, 2, "x"); }), 380);
    EXPECT_EQ(list.subItem(1, 1), "");  // never set
}

TEST(ListView, UserClicksSelectAndCheckBoxesRaiseOnlyTheCheckEvent) {
    Window w;
    auto& list = as<ListView>(w.form->addListView("lstShapes", nullptr, {}));
    for (const char* t : {"a", "b", "c"}) list.insertItem(list.count() + 1, t);
    std::vector<std::string> events;
    list.onItemClick = [&](int row) { events.push_back("click " + std::to_string(row)); };
    list.onItemCheck = [&](int row) {
        events.push_back("check " + std::to_string(row) + (list.checked(row) ? " on" : " off"));
    };
    list.setChecked(1, true);
    list.setChecked(1, true);  // no change, no event
    EXPECT_TRUE(list.userClickRow(2));
    EXPECT_TRUE(list.hasFocus());
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_TRUE(list.userToggleCheck(3));
    EXPECT_TRUE(list.userToggleCheck(1));
    EXPECT_FALSE(list.userClickRow(4));
    EXPECT_EQ(events, (std::vector<std::string>{"check 1 on", "click 2", "check 3 on", "check 1 off"}));
    EXPECT_EQ(list.selectedRow(), 2);  // a check box click selects nothing
}

TEST(Grid, PositionsSumWidthsAndHeightsFromTheFirstRowWhateverTheScrolling) {
    Window w;
    auto& grid = w.form->addGrid("fxgNodes", nullptr, {});
    grid.setRows(6);
    grid.setCols(4);
    grid.setColWidth(0, 500);
    grid.setColWidth(2, 1200);
    EXPECT_EQ(grid.colWidth(1), 960);
    EXPECT_EQ(grid.colPos(0), 0);
    EXPECT_EQ(grid.colPos(3), 500 + 960 + 1200);
    EXPECT_EQ(grid.rowPos(4), 4 * 240);
    grid.setTopRow(3);
    EXPECT_EQ(grid.rowPos(4), 4 * 240);
    grid.setColWidth(2, -1);  // back to the default
    EXPECT_EQ(grid.colPos(3), 500 + 960 + 960);
    EXPECT_EQ(errorNumberOf([&] { grid.colPos(4); }), 381);
}

TEST(Grid, TopRowAndLeftColStayInTheNonFixedRange) {
    Window w;
    auto& grid = w.form->addGrid("fxgNodes", nullptr, {});
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
}

TEST(Grid, ResizingKeepsOverlappingCellsAndClearsNewOnes) {
    Window w;
    auto& grid = w.form->addGrid("fxgNodes", nullptr, {});
    grid.setRows(3);
    grid.setCols(3);
    grid.setTextMatrix(1, 1, "x1");
    grid.setTextMatrix(2, 2, "x2");
    grid.setCellBackColor(1, 1, 0x0000FF);
    grid.setBackColor(0xFFFFFF);
    grid.setCurrentCell(2, 2);
    grid.setRows(2);
    grid.setCols(2);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
    grid.setRows(4);
    grid.setCols(4);
    EXPECT_EQ(grid.textMatrix(1, 1), "x1");
    EXPECT_EQ(grid.textMatrix(2, 2), "");  // dropped, then added again empty
    EXPECT_EQ(grid.cellBackColor(1, 1), 0x0000FFu);
    EXPECT_EQ(grid.cellBackColor(3, 3), 0xFFFFFFu);  // the grid's own
    EXPECT_EQ(errorNumberOf([&] { grid.textMatrix(4, 0); }), 381);
    grid.clearTexts();
    EXPECT_EQ(grid.textMatrix(1, 1), "");
    EXPECT_EQ(grid.cellBackColor(1, 1), 0x0000FFu);
}

TEST(Grid, UserClicksMoveTheCurrentCellAndRaiseTheirEvents) {
    Window w;
    auto& txt = w.form->addTextBox("txtNode", nullptr, {});
    auto& grid = as<Grid>(w.form->addGrid("fxgNodes", nullptr, {}));
    grid.setRows(4);
    grid.setCols(3);
    std::vector<std::string> events;
    grid.onSelChange = [&] { events.push_back("sel " + std::to_string(grid.row()) + "," + std::to_string(grid.col())); };
    grid.onDblClick = [&] { events.push_back("dbl"); };
    grid.onKeyPress = [&](int& k) { events.push_back("key " + std::to_string(k)); };
    bool refuse = true;
    txt.onValidate = [&](bool& cancel) { cancel = refuse; };
    txt.setFocus();

    EXPECT_FALSE(grid.userClickCell(2, 1));
    EXPECT_TRUE(events.empty());
    refuse = false;
    EXPECT_TRUE(grid.userClickCell(2, 1));
    EXPECT_TRUE(grid.userClickCell(2, 1));  // same cell: no event
    EXPECT_TRUE(grid.userClickCell(0, 2));  // fixed: the current cell stays
    EXPECT_TRUE(grid.userDoubleClickCell(3, 2));
    EXPECT_TRUE(grid.userKey('a'));
    EXPECT_EQ(events, (std::vector<std::string>{"sel 2,1", "sel 3,2", "dbl", "key 97"}));
}

}  // namespace
}  // namespace qm::ui::headless
