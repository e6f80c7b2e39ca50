// Call counting, failure injection and the tracking of handles and subscriptions.
#include <string>
#include <vector>

#include "test_support.h"

namespace qm::sim {
namespace {

using testing::expectHostError;
using testing::HostWithBook;

TEST(SimAccounting, CountsGetsAndWritesByMemberName) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto bar = bars->item("Standard");
    bar->visible();
    bar->setVisible(false);
    bar->setVisible(true);

    EXPECT_EQ(host.calls("Application.CommandBars"), 1);
    EXPECT_EQ(host.calls("CommandBars.Item"), 1);
    EXPECT_EQ(host.calls("CommandBar.Visible"), 1);
    EXPECT_EQ(host.calls("CommandBar.Visible="), 2);
    EXPECT_EQ(host.calls(), 5);
    EXPECT_EQ(host.writes(), 2);

    std::vector<std::string> seen;
    host.setCallObserver([&](const std::string& name) { seen.push_back(name); });
    host.resetCounts();
    bar->controls()->count();
    EXPECT_EQ(host.calls(), 2);
    EXPECT_EQ(host.writes(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"CommandBar.Controls", "CommandBarControls.Count"}));
}

TEST(SimAccounting, FailCallHitsTheNthCallWithTheDefaultText) {
    SimHost host;
    auto bar = host.application()->commandBars()->item(1);
    host.failCall(2);
    EXPECT_NO_THROW(bar->name());
    host.resetCounts();  // an armed failure keeps its distance
    expectHostError([&] { bar->setEnabled(false); }, host::err::kUnspecified,
                    "Method 'Enabled' of object 'CommandBar' failed");
    // The failed write changed nothing, and the failure was used up.
    EXPECT_TRUE(host.findBar("Worksheet Menu Bar")->enabled);
    EXPECT_NO_THROW(bar->setEnabled(false));
    EXPECT_FALSE(host.findBar("Worksheet Menu Bar")->enabled);
}

TEST(SimAccounting, FailedCallsChangeNoState) {
    SimHost host;
    auto bars = host.application()->commandBars();
    const auto before = host.dumpBars();

    host.failMember("CommandBars.Add");
    expectHostError([&] { bars->add({.name = "QM_TEST"}); }, host::err::kUnspecified,
                    "Method 'Add' of object 'CommandBars' failed");
    EXPECT_EQ(host.findBar("QM_TEST"), nullptr);

    auto controls = bars->item("Standard")->controls();
    host.failMember("CommandBarControls.Add", 1, 1004, "custom text");
    expectHostError([&] { controls->add({.id = 113}); }, 1004, "custom text");
    EXPECT_EQ(host.dumpBars(), before);
}

TEST(SimAccounting, FailMemberCountsOccurrencesOfThatMemberOnly) {
    HostWithBook h;
    h.host.failMember("Sheet.Name=", 2);
    auto sheets = h.app->activeWorkbook()->sheets();
    auto added = sheets->add(sheets->item(1));
    added->setName("FIRST");
    expectHostError([&] { added->setName("SECOND"); }, host::err::kUnspecified,
                    "Method 'Name' of object 'Sheet' failed");
    EXPECT_EQ(added->name(), "FIRST");
    added->setName("THIRD");
    EXPECT_EQ(added->name(), "THIRD");

    h.host.failMember("Sheet.Name=");
    h.host.clearFailures();
    EXPECT_NO_THROW(added->setName("FOURTH"));
}

TEST(SimAccounting, HandlesAndSubscriptionsAreTrackedBackToZero) {
    HostWithBook h;
    h.host.addShape(h.sheet, testing::rect(0, 0, 10, 10));
    {
        auto bars = h.app->commandBars();
        auto bar = bars->item("Formatting");
        auto ctrl = bar->controls()->item(3);
        auto shape = h.app->activeSheet()->shapes()->item(1);
        auto update = bars->onUpdate([] {});
        auto click = ctrl->onClick([](const host::CommandBarControlPtr&, bool&) {});
        auto change = h.app->onSheetChange([](const host::SheetPtr&, const host::RangePtr&) {});

        EXPECT_EQ(h.host.liveHandles("CommandBars"), 1);
        EXPECT_EQ(h.host.liveHandles("CommandBar"), 1);
        EXPECT_EQ(h.host.liveHandles("CommandBarControl"), 1);
        EXPECT_EQ(h.host.liveHandles("Shape"), 1);
        EXPECT_EQ(h.host.liveSubscriptions(), 3);
        click.reset();
        EXPECT_EQ(h.host.liveSubscriptions(), 2);
    }
    EXPECT_EQ(h.host.liveSubscriptions(), 0);
    h.app.reset();
    EXPECT_EQ(h.host.liveHandles(), 0);
}

TEST(SimAccounting, HandlesOutlivingTheHostFailCleanly) {
    host::CommandBarPtr bar;
    host::Subscription update;
    {
        SimHost host;
        bar = host.application()->commandBars()->item(1);
        update = host.application()->commandBars()->onUpdate([bar] { bar->name(); });
    }
    expectHostError([&] { bar->name(); }, -2147417848);
    update.reset();
}

}  // namespace
}  // namespace qm::sim
