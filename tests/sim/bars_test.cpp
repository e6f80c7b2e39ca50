// The command bar collection: lookup, adding and deleting bars, visibility, docking and
// geometry, restarting the host, and the dump the scenario runner prints.
#include <string>

#include "test_support.h"

namespace qm::sim {
namespace {

using namespace host;
using testing::expectHostError;
using testing::HostWithBook;

TEST(SimBars, ItemFindsByIndexAndCaseInsensitiveName) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto first = bars->item(1);
    EXPECT_EQ(first->name(), "Worksheet Menu Bar");
    EXPECT_EQ(first->type(), msoBarTypeMenuBar);
    EXPECT_TRUE(first->visible());
    EXPECT_EQ(bars->item("standard")->name(), "Standard");
    EXPECT_EQ(bars->item("Cell")->type(), msoBarTypePopup);
    EXPECT_EQ(bars->item("Formatting")->index(), 4);

    expectHostError([&] { bars->item("No Such Bar"); }, err::kInvalidCall, "Invalid procedure call or argument");
    expectHostError([&] { bars->item(bars->count() + 1); }, err::kInvalidCall);
}

TEST(SimBars, SubBarsOfMenusAreNotInTheCollection) {
    SimHost host;
    auto bars = host.application()->commandBars();
    ASSERT_EQ(bars->count(), static_cast<int32_t>(host.bars().size()));
    for (const auto& bar : host.bars()) EXPECT_FALSE(bar->isSubBar()) << bar->name;
    expectHostError([&] { bars->item("File"); }, err::kInvalidCall);

    auto file = bars->item(1)->controls()->item(1);
    auto fileBar = file->commandBar();
    EXPECT_EQ(fileBar->name(), "File");
    EXPECT_EQ(fileBar->type(), msoBarTypePopup);
    expectHostError([&] { fileBar->remove(); }, err::kInvalidCall);
}

TEST(SimBars, AddAppendsHiddenEnabledEmptyBarsAndRefusesTakenNames) {
    SimHost host;
    auto bars = host.application()->commandBars();
    const int32_t before = bars->count();
    auto bar = bars->add({.name = "QM_Draw", .position = msoBarTop, .temporary = true});
    EXPECT_EQ(bars->count(), before + 1);
    EXPECT_EQ(bar->index(), before + 1);
    EXPECT_FALSE(bar->visible());
    EXPECT_TRUE(bar->enabled());
    EXPECT_EQ(bar->controls()->count(), 0);
    EXPECT_EQ(bar->type(), msoBarTypeNormal);
    EXPECT_EQ(bars->add({.name = "QM_MENU", .menuBar = true})->type(), msoBarTypeMenuBar);

    expectHostError([&] { bars->add({.name = "qm_draw"}); }, err::kInvalidCall);
    expectHostError([&] { bars->add({.name = "X", .position = 9}); }, err::kInvalidCall);
    EXPECT_EQ(bars->count(), before + 2);
}

TEST(SimBars, DeletingBuiltInBarsIsRefusedAndDeletedBarsFailOnAnyMember) {
    SimHost host;
    auto bars = host.application()->commandBars();
    expectHostError([&] { bars->item("Standard")->remove(); }, err::kInvalidCall);

    auto bar = bars->add({.name = "Mine"});
    auto controls = bar->controls();
    bar->remove();
    EXPECT_EQ(host.findBar("Mine"), nullptr);
    expectHostError([&] { bar->name(); }, err::kUnspecified, "Method 'Name' of object 'CommandBar' failed");
    expectHostError([&] { bar->setVisible(true); }, err::kUnspecified,
                    "Method 'Visible' of object 'CommandBar' failed");
    expectHostError([&] { controls->add({}); }, err::kUnspecified,
                    "Method 'Add' of object 'CommandBarControls' failed");
}

TEST(SimBars, DisabledBarReadsHiddenButKeepsItsVisibleFlag) {
    SimHost host;
    auto bar = host.application()->commandBars()->item("Standard");
    bar->setEnabled(false);
    EXPECT_FALSE(bar->visible());
    bar->setEnabled(true);
    EXPECT_TRUE(bar->visible());

    bar->setEnabled(false);
    bar->setVisible(false);
    bar->setEnabled(true);
    EXPECT_FALSE(bar->visible());

    bar->setEnabled(false);
    bar->setVisible(true);
    EXPECT_FALSE(bar->visible());
    bar->setEnabled(true);
    EXPECT_TRUE(bar->visible());

    expectHostError([&] { host.application()->commandBars()->item("Cell")->setVisible(true); },
                    err::kUnspecified);
}

TEST(SimBars, RowIndexDocksIntoExistingOrNewRows) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto bar = bars->add({.name = "T", .position = msoBarTop});
    EXPECT_EQ(bar->rowIndex(), 4);  // below the menu bar, Standard and Formatting
    bar->setRowIndex(msoBarRowLast);
    EXPECT_EQ(bar->rowIndex(), 4);
    bar->setRowIndex(99);
    EXPECT_EQ(bar->rowIndex(), 4);
    bar->setRowIndex(3);
    EXPECT_EQ(bar->rowIndex(), 3);
    bar->setRowIndex(msoBarRowFirst);
    EXPECT_EQ(bar->rowIndex(), 1);
    EXPECT_EQ(bars->item("Worksheet Menu Bar")->rowIndex(), 2);
    EXPECT_EQ(bars->item("Formatting")->rowIndex(), 4);

    auto bottom = bars->add({.name = "B", .position = msoBarBottom});
    EXPECT_EQ(bottom->rowIndex(), 2);  // after the Drawing toolbar
    bottom->setPosition(msoBarFloating);
    bottom->setPosition(msoBarBottom);
    EXPECT_EQ(bottom->rowIndex(), 2);
    expectHostError([&] { bottom->setRowIndex(-2); }, err::kInvalidCall);
}

TEST(SimBars, DockedGeometryFollowsDockRowAndControls) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto menu = bars->item(1);
    EXPECT_EQ(menu->top(), 30);
    EXPECT_EQ(menu->left(), 4);
    EXPECT_EQ(menu->width(), 1016);  // a menu bar spans the window
    EXPECT_EQ(bars->item("Standard")->top(), 56);
    EXPECT_EQ(bars->item("Drawing")->top(), 744 - 26);

    auto bar = bars->add({.name = "T", .position = msoBarTop});
    auto controls = bar->controls();
    auto go = controls->add({.type = msoControlButton});
    go->setCaption("&Go");                                   // 2 characters shown: 22
    controls->add({.id = 113});                              // icon: 23
    controls->add({.id = 1728});                             // font box: 136
    EXPECT_EQ(bar->width(), 22 + 23 + 136 + 10);
    EXPECT_EQ(bar->top(), 30 + 3 * 26);

    bar->setRowIndex(3);  // beside Formatting, which comes first in the collection
    const int32_t formattingWidth = bars->item("Formatting")->width();
    EXPECT_EQ(bar->left(), 4 + formattingWidth);

    host.setMainWindowRect(platform::Rect{100, 50, 900, 650});
    EXPECT_EQ(menu->top(), 80);
    EXPECT_EQ(menu->width(), 792);
}

TEST(SimBars, FloatingBarNarrowsToItsWidestControl) {
    SimHost host;
    auto bar = host.application()->commandBars()->add({.name = "F", .position = msoBarFloating});
    auto controls = bar->controls();
    auto label = controls->add({.type = msoControlButton});
    label->setCaption("< Add Shapes >");
    label->setWidth(240);
    controls->add({.id = 1111});
    controls->add({.id = 1119});
    EXPECT_EQ(bar->width(), 240 + 23 + 23 + 6);
    bar->setWidth(1);
    EXPECT_EQ(bar->width(), 246);
    bar->setLeft(700);
    bar->setTop(160);
    EXPECT_EQ(bar->left(), 700);
    EXPECT_EQ(bar->top(), 160);
}

TEST(SimBars, RestartDropsTemporaryBarsAndControlsOnly) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto temp = bars->add({.name = "Temp", .temporary = true});
    auto kept = bars->add({.name = "Kept"});
    auto tempButton = kept->controls()->add({.type = msoControlButton, .temporary = true});
    kept->controls()->add({.type = msoControlButton});
    auto click = tempButton->onClick([](const CommandBarControlPtr&, bool&) {});
    bars->item("Standard")->controls()->add({.id = 113, .temporary = true});
    const int32_t standardCount = static_cast<int32_t>(host.findBar("Standard")->controls.size());
    auto sub = bars->onUpdate([] {});

    host.restartHost();
    EXPECT_EQ(host.findBar("Temp"), nullptr);
    ASSERT_NE(host.findBar("Kept"), nullptr);
    EXPECT_EQ(kept->controls()->count(), 1);
    EXPECT_EQ(static_cast<int32_t>(host.findBar("Standard")->controls.size()), standardCount - 1);
    expectHostError([&] { temp->visible(); }, err::kUnspecified);
    EXPECT_EQ(host.liveSubscriptions(), 0);
}

TEST(SimBars, DumpListsBarsAndControlsInTheFixedFormat) {
    HostWithBook h;
    auto bar = h.app->commandBars()->add({.name = "QM_DUMP", .temporary = true});
    auto controls = bar->controls();
    auto go = controls->add({.type = msoControlButton});
    go->setCaption("&Go");
    go->setTag("T1");
    go->setOnAction("!<X>");
    go->setWidth(50);
    controls->add({.id = 113})->setBeginGroup(true);
    auto menu = controls->add({.type = msoControlPopup});
    menu->setCaption("&Menu");
    auto inner = menu->controls()->add({.type = msoControlButton, .temporary = true});
    inner->setCaption("A");
    inner->setStyle(msoButtonCaption);
    h.host.clipboard().setPicture({platform::cf::kBitmap, testing::makeBmp(15, 12, 0x0000FF)}, platform::cf::kBitmap);
    inner->pasteFace();
    h.host.findByPath("QM_DUMP > &Menu > A")->visible = false;

    const std::string expected =
        "bar \"QM_DUMP\" index=23 type=0 position=4 row=0 left=104 top=130 width=115 visible=False "
        "enabled=True protection=0 temporary\n"
        "  button \"&Go\" id=1 type=1 tag=\"T1\" face=0 style=0 state=0 width=50 onaction=\"!<X>\"\n"
        "  button \"&Bold\" id=113 type=1 face=113 style=0 state=0 group\n"
        "  popup \"&Menu\" id=1 type=10\n"
        "    button \"A\" id=1 type=1 face=pasted(15x12) style=2 state=0 hidden temporary\n";
    EXPECT_EQ(h.host.dumpBars({.bar = "qm_dump"}), expected);
    EXPECT_EQ(h.host.dumpBars({.bar = "QM_DUMP", .controls = false}), expected.substr(0, expected.find('\n') + 1));

    const std::string visibleBars = h.host.dumpBars({.controls = false, .visibleOnly = true});
    EXPECT_EQ(visibleBars,
              "bar \"Worksheet Menu Bar\" index=1 type=1 position=1 row=1 left=4 top=30 width=1016 visible=True "
              "enabled=True protection=0 builtin\n"
              "bar \"Standard\" index=3 type=0 position=1 row=2 left=4 top=56 width=286 visible=True "
              "enabled=True protection=0 builtin\n"
              "bar \"Formatting\" index=4 type=0 position=1 row=3 left=4 top=82 width=361 visible=True "
              "enabled=True protection=0 builtin\n"
              "bar \"Drawing\" index=12 type=0 position=3 row=1 left=4 top=718 width=610 visible=True "
              "enabled=True protection=0 builtin\n");
    EXPECT_THROW(h.host.dumpBars({.bar = "missing"}), std::invalid_argument);
}

TEST(SimBars, PathLookupMatchesCaptionsExactly) {
    SimHost host;
    auto newItem = host.findByPath("Worksheet Menu Bar > &File > &New...");
    ASSERT_NE(newItem, nullptr);
    EXPECT_EQ(newItem->id, 18);
    EXPECT_EQ(host.findByPath("Worksheet Menu Bar > &file > &New..."), nullptr);
    EXPECT_EQ(host.findByPath("worksheet menu bar > &File"), nullptr);
    auto snap = host.findByPath("Drawing > D&raw > &Snap > Snap to &Shape");
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(snap->id, 1402);
}

}  // namespace
}  // namespace qm::sim
