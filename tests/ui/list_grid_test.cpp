// The headless list view and flex grid as their user and presenter see them: clicks,
// keys and the events they raise. Their data is tested in list_model_test and
// grid_model_test.
#include <string>
#include <vector>

#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

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
    EXPECT_EQ(errorNumberOf([&] { list.setChecked(4, true); }), 35600);
    EXPECT_EQ(events, (std::vector<std::string>{"check 1 on", "click 2", "check 3 on", "check 1 off"}));
    EXPECT_EQ(list.selectedRow(), 2);  // a check box click selects nothing

    // The keyboard: Up and Down click the next row within the list, Space ticks it.
    events.clear();
    w.form->userKeyDown(vk::kUp, 0);
    w.form->userKeyDown(vk::kUp, 0);
    w.form->userKey(' ');
    w.form->userKeyDown(vk::kDown, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"click 1", "check 1 on", "click 2"}));
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
    // From code: an event for a move only, none for a cell outside the grid.
    grid.setCurrentCell(0, 0);
    grid.setCurrentCell(0, 0);
    EXPECT_EQ(errorNumberOf([&] { grid.setCurrentCell(4, 0); }), 381);
    EXPECT_EQ(events, (std::vector<std::string>{"sel 2,1", "sel 3,2", "dbl", "key 97", "sel 0,0"}));
}

}  // namespace
}  // namespace qm::ui::headless
