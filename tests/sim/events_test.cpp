// Events: clicks routed to add-ins, OnUpdate (also re-entered from its own handler's
// writes), SheetChange, and subscriptions ending.
#include <string>
#include <vector>

#include "test_support.h"

namespace qm::sim {
namespace {

using namespace host;
using testing::HostWithBook;

struct ClickFixture : HostWithBook {
    std::shared_ptr<SimAddIn> addIn = host.addAddIn("QuillmarkInExcel.Connect");
    CommandBarPtr bar = app->commandBars()->add({.name = "QM", .temporary = true});
    CommandBarControlPtr button = bar->controls()->add({.type = msoControlButton, .temporary = true});
    std::vector<std::string> clicks;

    ClickFixture() {
        bar->setVisible(true);
        button->setCaption("&Mode");
        button->setOnAction("!<QuillmarkInExcel.Connect>");
    }
};

TEST(SimEvents, ClickReachesTheConnectedAddInsHandlersInOrder) {
    ClickFixture f;
    auto first = f.button->onClick([&](const CommandBarControlPtr& ctrl, bool& cancel) {
        EXPECT_FALSE(cancel);
        f.clicks.push_back("first " + ctrl->caption());
    });
    auto second = f.button->onClick([&](const CommandBarControlPtr&, bool&) { f.clicks.push_back("second"); });

    EXPECT_TRUE(f.host.click(f.host.nodeOf(f.button)));
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"first &Mode", "second"}));

    f.clicks.clear();
    f.addIn->setConnect(false);
    EXPECT_TRUE(f.host.click(f.host.nodeOf(f.button)));
    EXPECT_TRUE(f.clicks.empty());
    EXPECT_EQ(f.addIn->connectWrites(), std::vector<bool>{false});

    f.addIn->setConnected(true);
    f.button->setOnAction("!<Other.Connect>");
    f.host.click(f.host.nodeOf(f.button));
    EXPECT_TRUE(f.clicks.empty());
}

TEST(SimEvents, ClickOnADisabledControlOrHiddenBarDoesNothing) {
    ClickFixture f;
    auto sub = f.button->onClick([&](const CommandBarControlPtr&, bool&) { f.clicks.push_back("click"); });
    const auto node = f.host.nodeOf(f.button);
    f.button->setEnabled(false);
    EXPECT_FALSE(f.host.click(node));
    f.button->setEnabled(true);
    f.bar->setEnabled(false);
    EXPECT_FALSE(f.host.click(node));
    f.bar->setEnabled(true);
    f.bar->setVisible(false);
    EXPECT_FALSE(f.host.click(node));
    EXPECT_TRUE(f.clicks.empty());

    // Execute runs the control whether or not its bar is on screen.
    f.button->execute();
    EXPECT_EQ(f.clicks, std::vector<std::string>{"click"});
}

TEST(SimEvents, AHandlerMayDeleteTheBarOfTheClickedButton) {
    ClickFixture f;
    auto first = f.button->onClick([&](const CommandBarControlPtr&, bool&) {
        f.clicks.push_back("delete");
        f.bar->remove();
    });
    auto second = f.button->onClick([&](const CommandBarControlPtr& ctrl, bool&) {
        f.clicks.push_back("after");
        EXPECT_THROW(ctrl->caption(), HostError);
    });
    EXPECT_TRUE(f.host.click("QM > &Mode"));
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"delete", "after"}));
    EXPECT_EQ(f.host.findBar("QM"), nullptr);
}

TEST(SimEvents, ClicksOnBuiltInControlsAndMacros) {
    ClickFixture f;
    EXPECT_TRUE(f.host.click("Drawing > Select &Objects"));
    EXPECT_TRUE(f.host.toggle(ctl::kSelectObjects));
    EXPECT_TRUE(f.host.click("Worksheet Menu Bar > &Edit > &Copy"));
    f.button->setOnAction("Module1.DoIt");
    f.host.click("QM > &Mode");
    EXPECT_EQ(f.host.executedControls(), (std::vector<std::string>{"control 19", "macro Module1.DoIt"}));

    // A handler on a built-in button can cancel the host's own action.
    auto copy = f.host.controlHandle(f.host.findByPath("Worksheet Menu Bar > &Edit > &Copy"));
    auto sub = copy->onClick([](const CommandBarControlPtr&, bool& cancel) { cancel = true; });
    f.host.click("Worksheet Menu Bar > &Edit > &Copy");
    EXPECT_EQ(f.host.executedControls().size(), 2u);
}

TEST(SimEvents, SelectionChangesRaiseOnUpdate) {
    HostWithBook h;
    h.host.addShape(h.sheet, testing::rect(0, 0, 20, 20, "Box"));
    int updates = 0;
    auto sub = h.app->commandBars()->onUpdate([&] { ++updates; });
    h.host.selectShapes({"Box"});
    h.host.selectRange("A1:B2");
    h.host.drawShape(testing::rect(5, 5, 5, 5));
    h.app->activeSheet()->shapes()->item("Box")->select(true);
    h.host.fireUpdate();
    EXPECT_EQ(updates, 5);
    sub.reset();
    h.host.fireUpdate();
    EXPECT_EQ(updates, 5);
}

TEST(SimEvents, ReentrantUpdatesComeBackFromInsideControlWrites) {
    HostWithBook h;
    h.host.setReentrantUpdates(true);
    auto bars = h.app->commandBars();
    auto button = bars->add({.name = "T"})->controls()->add({});
    bool inUpdate = false;
    int entered = 0;
    int returnedEarly = 0;
    auto guarded = bars->onUpdate([&] {
        if (inUpdate) {
            ++returnedEarly;
            return;
        }
        inUpdate = true;
        ++entered;
        button->setState(msoButtonDown);
        button->setEnabled(true);
        inUpdate = false;
    });
    h.host.fireUpdate();
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(returnedEarly, 2);
    EXPECT_EQ(h.host.maxUpdateDepth(), 2);
    EXPECT_FALSE(h.host.updateOverflow());

    // Writes outside any OnUpdate handler do not raise it.
    button->setState(msoButtonUp);
    EXPECT_EQ(entered, 1);
    guarded.reset();

    // A handler without a guard recurses until the host stops it.
    auto unguarded = bars->onUpdate([&] { button->setState(msoButtonUp); });
    h.host.fireUpdate();
    EXPECT_TRUE(h.host.updateOverflow());
}

TEST(SimEvents, EditingACellRaisesSheetChangeWithSheetAndTarget) {
    HostWithBook h;
    std::vector<std::string> seen;
    auto sub = h.app->onSheetChange([&](const SheetPtr& sheet, const RangePtr& target) {
        seen.push_back(sheet->name() + " " + std::to_string(target->count()));
    });
    h.host.setCellEditMode(true);
    h.host.editCell(h.sheet, "B2", "hello");
    h.host.editCell(h.sheet, "A1:B3", "x");
    EXPECT_EQ(seen, (std::vector<std::string>{"Sheet1 1", "Sheet1 6"}));
    EXPECT_FALSE(h.host.cellEditMode());
    EXPECT_EQ(h.sheet->cellText.at(CellRef{2, 2}), "x");
}

}  // namespace
}  // namespace qm::sim
