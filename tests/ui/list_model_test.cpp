// The list view's data as both toolkits keep it: keys, positions, the selection through
// inserts, removals and sorts, sub-items and checks, and the list view's error numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/host/error.h"
#include "core/ui/list_model.h"
#include "tests/ui/window.h"

namespace qm::ui {
namespace {

using headless::testing::errorNumberOf;

std::vector<std::string> texts(const ListModel& list) {
    std::vector<std::string> out;
    for (int row = 1; row <= list.count(); ++row) out.push_back(list.itemText(row));
    return out;
}

ListModel filled(std::initializer_list<const char*> items) {
    ListModel list("lstShapes");
    for (const char* t : items) list.insertItem(list.count() + 1, t);
    return list;
}

TEST(ListModel, KeysAreUniqueAndPositionsChecked) {
    ListModel list("lstShapes");
    EXPECT_EQ(list.insertItem(1, "a", "k1"), 0u);
    list.insertItem(2, "b");
    list.insertItem(3, "c");  // empty keys may repeat
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(1, "d", "k1"); }), 35602);
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(5, "d"); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(0, "d"); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.itemText(4); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.checked(0); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.selectRow(4); }), 35600);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.itemKey(1), "k1");
    EXPECT_EQ(list.findKey("k1"), 1);
    EXPECT_EQ(list.findKey("k2"), std::nullopt);
    // A removed key can be used again.
    EXPECT_EQ(list.removeItem(1), 0u);
    list.insertItem(1, "a2", "k1");
    EXPECT_EQ(list.itemKey(1), "k1");
}

TEST(ListModel, ErrorsNameTheControlAndTheIndex) {
    ListModel list("lstShapes");
    try {
        list.removeItem(3);
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 35600);
        EXPECT_EQ(e.description(), "Index out of bounds (lstShapes row 3)");
    }
}

TEST(ListModel, SelectionFollowsItsRowThroughInsertsAndRemovals) {
    ListModel list = filled({"a", "b", "c", "d"});
    list.selectRow(3);  // "c"
    list.insertItem(1, "z");
    EXPECT_EQ(list.selectedRow(), 4);
    list.insertItem(5, "y");  // after the selection: no move
    EXPECT_EQ(list.selectedRow(), 4);
    list.removeItem(2);
    EXPECT_EQ(list.selectedRow(), 3);
    EXPECT_EQ(list.itemText(*list.selectedRow()), "c");
    list.removeItem(4);
    EXPECT_EQ(list.selectedRow(), 3);
    list.removeItem(3);  // the selected row itself
    EXPECT_EQ(list.selectedRow(), std::nullopt);
    list.selectRow(1);
    list.clear();
    EXPECT_EQ(list.selectedRow(), std::nullopt);
    EXPECT_EQ(list.count(), 0);
}

TEST(ListModel, SortOnceIsStableAndKeepsTheSelection) {
    ListModel list("lstShapes");
    list.addColumn("Objects", 3700);
    list.addColumn("Zorder", 0);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Rect 1", "00002"}, {"Oval 2", "00010"}, {"Line 3", "00002"}, {"Text 4", "00001"}, {"Arc 5", "00010"}};
    for (const auto& [text, z] : rows) {
        list.insertItem(list.count() + 1, text);
        list.setSubItem(list.count(), 1, z);
    }
    list.setChecked(3, true);
    list.selectRow(3);  // "Line 3"
    list.sortOnce(1, true);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"Oval 2", "Arc 5", "Rect 1", "Line 3", "Text 4"}));
    EXPECT_EQ(list.itemText(*list.selectedRow()), "Line 3");
    EXPECT_TRUE(list.checked(*list.selectedRow()));  // the row moves whole
    EXPECT_EQ(list.subItem(1, 1), "00010");

    list.sortOnce(1, false);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"Text 4", "Rect 1", "Line 3", "Oval 2", "Arc 5"}));
    // Only once: a later insert stays where it was put.
    list.insertItem(1, "Zed 6");
    EXPECT_EQ(list.itemText(1), "Zed 6");
    // By the item text, without regard to case; rows with no sub-item sort as empty.
    list.insertItem(1, "apple");
    list.sortOnce(0, false);
    EXPECT_EQ(texts(list).front(), "apple");
    EXPECT_EQ(texts(list)[1], "Arc 5");
    list.sortOnce(1, false);
    EXPECT_EQ(list.subItem(1, 1), "");
    EXPECT_EQ(list.subItem(2, 1), "");

    EXPECT_EQ(errorNumberOf([&] { list.sortOnce(2, false); }), 380);
    EXPECT_EQ(errorNumberOf([&] { list.sortOnce(-1, false); }), 380);
}

TEST(ListModel, SubItemsLiveInTheColumnsAfterTheFirst) {
    ListModel list = filled({"a"});
    list.addColumn("Objects", 3700);
    list.addColumn("Zorder", 0);
    list.addColumn("Type", 500);
    list.setSubItem(1, 2, "Oval");
    EXPECT_EQ(list.subItem(1, 1), "");  // never set
    EXPECT_EQ(list.subItem(1, 2), "Oval");
    EXPECT_EQ(errorNumberOf([&] { list.setSubItem(1, 3, "x"); }), 380);
    EXPECT_EQ(errorNumberOf([&] { list.subItem(1, 0); }), 380);
    // The row is checked before the column.
    EXPECT_EQ(errorNumberOf([&] { list.setSubItem(2, 9, "x"); }), 35600);

    EXPECT_EQ(list.columnHeader(2), "Type");
    list.setColumnWidth(2, 800);
    EXPECT_EQ(list.columnWidth(2), 800);
    EXPECT_EQ(errorNumberOf([&] { list.columnWidth(3); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.setColumnWidth(-1, 10); }), 35600);
}

TEST(ListModel, SetCheckedTellsWhetherTheCheckChanged) {
    ListModel list = filled({"a", "b"});
    EXPECT_TRUE(list.setChecked(2, true));
    EXPECT_FALSE(list.setChecked(2, true));
    EXPECT_TRUE(list.checked(2));
    EXPECT_FALSE(list.checked(1));
    EXPECT_TRUE(list.setChecked(2, false));
    EXPECT_EQ(errorNumberOf([&] { list.setChecked(3, true); }), 35600);
}

}  // namespace
}  // namespace qm::ui
