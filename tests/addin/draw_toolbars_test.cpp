// The control-list grammar and the reach of the toolbar procedure's error trap.
#include "tests/addin/fixture.h"

#include "core/bars/draw_toolbars.h"
#include "core/host/constants.h"

namespace qm::testing {
namespace {

TEST(ControlList, NumbersGroupsAndOwnButtonTags) {
    auto entries = bars::parseControlList("-139,318,-1:TEXT1,1:text3,2:TEXT1,-30080,1,abc");
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_TRUE(entries[0].beginGroup);
    EXPECT_EQ(entries[0].id, 139);
    EXPECT_FALSE(entries[1].beginGroup);
    EXPECT_TRUE(entries[2].own);
    EXPECT_TRUE(entries[2].beginGroup);
    EXPECT_EQ(entries[2].tag, "TEXT1");
    EXPECT_TRUE(entries[3].own);
    EXPECT_EQ(entries[3].tag, "TEXT3");  // tags compare in upper case
    EXPECT_FALSE(entries[4].own);         // the number decides: 2 is a host control
    EXPECT_EQ(entries[4].id, 2);
    EXPECT_EQ(entries[5].id, 30080);
    EXPECT_TRUE(entries[6].own);
    EXPECT_EQ(entries[6].tag, "");
    EXPECT_EQ(entries[7].id, 0);  // no number reads as 0
}

TEST(ControlList, CatalogueShapesPaletteIsEightGroups) {
    const auto& catalogue = bars::toolbarCatalogue();
    ASSERT_EQ(catalogue.size(), 9u);
    auto shapes = bars::parseControlList(catalogue[0].list);
    int groups = 0;
    for (const auto& e : shapes) groups += e.beginGroup;
    EXPECT_EQ(groups, 8);
    EXPECT_EQ(shapes.back().id, 30080);
}

class ToolbarTest : public AddinTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(connect());
        host.resetCounts();
    }
    addin::AddinState& s() { return addin->state(); }
};

TEST_F(ToolbarTest, UnknownTagSaysErrAndGoesOnUnknownNumberIsSkippedSilently) {
    bars::createDrawToolbar(s(), "Test", "QM_T", "1:NOPE,99999,113,1:text2,2:TEXT1", host::msoBarTop, 0);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Err"});
    auto bar = host.findBar("QM_T");
    ASSERT_TRUE(bar);
    std::vector<std::string> captions;
    for (const auto& c : bar->controls) captions.push_back(c->caption);
    ASSERT_EQ(captions.size(), 4u);
    EXPECT_EQ(captions[0], "< Test >");
    EXPECT_EQ(bar->controls[1]->id, 113);
    EXPECT_EQ(captions[2], "Valign &Up");
    EXPECT_EQ(bar->controls[3]->id, 2);
    EXPECT_TRUE(bar->visible);
}

TEST_F(ToolbarTest, ExistingBarOfTheNameIsReplaced) {
    bars::createDrawToolbar(s(), "A", "QM_T", "113", host::msoBarTop, 0);
    bars::createDrawToolbar(s(), "B", "QM_T", "114", host::msoBarTop, 0);
    int count = 0;
    for (const auto& b : host.bars()) count += b->name == "QM_T";
    EXPECT_EQ(count, 1);
    EXPECT_EQ(host.findBar("QM_T")->controls[0]->caption, "< B >");
    EXPECT_TRUE(events.empty());
}

TEST_F(ToolbarTest, ErrorWhileTrapActiveAbandonsTheBarWithTheMessage) {
    host.failMember("CommandBarControl.Style=", 1, 1004, "Style refused");
    bars::createDrawToolbar(s(), "", "QM_T", "113,114", host::msoBarTop, 0);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"(1004) Style refused"});
    auto bar = host.findBar("QM_T");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->controls.size(), 1u);  // the rest of the bar is abandoned
    EXPECT_FALSE(bar->visible);
}

TEST_F(ToolbarTest, OwnButtonAfterAHostEntryRunsWithoutTheTrap) {
    host.failMember("CommandBarControl.PasteFace", 1, 1004, "no face");
    EXPECT_THROW(bars::createDrawToolbar(s(), "", "QM_T", "113,1:TEXT1", host::msoBarTop, 0), host::HostError);
    EXPECT_TRUE(events.empty());
}

TEST_F(ToolbarTest, OwnButtonBeforeAnyHostEntryIsUnderTheTrap) {
    host.failMember("CommandBarControl.PasteFace", 1, 1004, "no face");
    bars::createDrawToolbar(s(), "", "QM_T", "1:TEXT1,113", host::msoBarTop, 0);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"(1004) no face"});
}

TEST_F(ToolbarTest, FacesPastedThroughTheClipboardLeaveTheUsersCopyInPlaceEvenWhenABarFails) {
    host.clipboard().setText("kept", platform::cf::kText);
    bars::createDrawToolbars(s());
    EXPECT_EQ(host.clipboard().getText(platform::cf::kText), "kept");
    EXPECT_FALSE(host.clipboard().hasFormat(platform::cf::kBitmap));

    host.failMember("CommandBarControl.PasteFace", 3, 1004, "no face");
    EXPECT_ANY_THROW(bars::createDrawToolbars(s()));
    EXPECT_EQ(host.clipboard().getText(platform::cf::kText), "kept");
    EXPECT_FALSE(host.clipboard().hasFormat(platform::cf::kBitmap));
}

TEST_F(ToolbarTest, DockedLeftInRowTwoComesBackThereWithTheRowStoredOneHigher) {
    auto bar = host.barHandle(host.findBar("QM"));
    bar->setPosition(host::msoBarLeft);
    bar->setRowIndex(2);
    const int32_t row = bar->rowIndex();
    bar.reset();
    store.write(settings::kApp, "App", "OnePoint", "0");
    messages.queue(platform::mb::kResultNo);
    ASSERT_TRUE(click(kMenu + "Goto &Draw mode"));
    EXPECT_EQ(stored("Bar", "RowIndex"), std::to_string(row + 1));
    EXPECT_EQ(stored("Bar", "Position"), "0");
    ASSERT_TRUE(click("QM_MENU > &File > E&xit Draw mode"));
    bar = host.barHandle(host.findBar("QM"));
    EXPECT_EQ(bar->position(), host::msoBarLeft);
    EXPECT_TRUE(bar->visible());
}

}  // namespace
}  // namespace qm::testing
