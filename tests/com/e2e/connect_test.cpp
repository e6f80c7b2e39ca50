// The real add-in DLL connected by the fake Excel as Excel 2003 and Excel 2007 connect it,
// in the user's language: this program runs once in an English and once in a Japanese
// user locale (QM_EXPECT_JAPANESE), which Wine takes from LC_ALL.
#include "core/addin/config.h"
#include "tests/com/e2e/harness.h"

namespace qm::e2e {
namespace {

#if defined(QM_EXPECT_JAPANESE)
constexpr const char* kMenu = "Worksheet Menu Bar > NVK(&N) > クイルマーク(&Q) > ";
constexpr const char* kModeItem = "Drawモードへ移行(&D)";
#else
constexpr const char* kMenu = "Worksheet Menu Bar > &NVK > &Quillmark > ";
constexpr const char* kModeItem = "Goto &Draw mode";
#endif

TEST(Connection, Excel2003GetsTheMenuAndToolbarInTheUsersLanguage) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    EXPECT_TRUE(h.record->connected());
    auto mode = h.host.findByPath(std::string(kMenu) + kModeItem);
    ASSERT_TRUE(mode) << "no Draw mode item at " << kMenu;
    EXPECT_EQ(mode->faceId, 3020);
    EXPECT_EQ(mode->style, host::msoButtonIconAndCaption);
    EXPECT_EQ(mode->onAction, "!<QuillmarkInExcel.Connect>");
    EXPECT_TRUE(h.host.findByTag("NVK_SITE"));
    auto bar = h.host.findBar("QM");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->temporary);
    EXPECT_EQ(bar->controls.size(), 5u);
    EXPECT_TRUE(h.dialogs().empty());
    // The add-in listens for clicks on its buttons and for cell edits, through sinks.
    EXPECT_GE(h.excel.sinks(fake::kCommandBarButtonEvents).size(), 5u);
    EXPECT_EQ(h.excel.sinks(fake::kAppEvents).size(), 1u);
    EXPECT_EQ(h.excel.tally().eventFailures, 0);
}

TEST(Connection, ClicksOnTheMenuReachTheAddinThroughItsSinks) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    const addin::Config config;
    ASSERT_TRUE(h.clickNode(h.productItem(4)));  // Online Help
    ASSERT_TRUE(h.clickNode(h.host.findByTag("NVK_SITE")));
    // The toolbar's copy of Help reaches the same handler.
    ASSERT_TRUE(h.clickNode(h.host.findBar("QM")->controls.back()));
    EXPECT_EQ(h.opened, (std::vector<std::string>{config.helpUrl, config.developerSiteUrl, config.helpUrl}));
    EXPECT_TRUE(h.dialogs().empty());
    EXPECT_EQ(h.excel.tally().eventFailures, 0);

    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_FALSE(h.host.findByTag("NVK"));
    EXPECT_FALSE(h.host.findBar("QM"));
    EXPECT_TRUE(h.allReleased());
}

// Connection, Draw mode in and out, disconnection: every call the DLL makes is one
// Excel's object model has, with arguments it takes.
TEST(Connection, TheDllKeepsToTheObjectModel) {
    Harness h;
    h.skipOnePointAdvice();
    ASSERT_EQ(h.connect(), S_OK);
    h.answer(IDYES);
    ASSERT_TRUE(h.clickNode(h.productItem(0)));
    ASSERT_EQ(h.messageBoxes().size(), 1u);
    ASSERT_TRUE(h.host.findBar("QM_MENU"));
    auto file = h.host.findBar("QM_MENU")->controls.at(0);
    ASSERT_TRUE(h.clickNode(file->subBar->controls.back()));  // Exit Draw mode
    EXPECT_FALSE(h.host.findBar("QM_MENU"));
    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
    for (const auto& [name, n] : h.excel.tally().unknownNames) ADD_FAILURE() << "no such member: " << name;
    for (const auto& [name, n] : h.excel.tally().refusedInvokes) ADD_FAILURE() << "refused call: " << name;
    EXPECT_EQ(h.excel.tally().eventFailures, 0);
}

TEST(Connection, Excel2007IsRefusedWithAMessageBoxTheUserAnswers) {
    Harness h;
    h.host.setVersion("12.0");
    ASSERT_EQ(h.connect(), S_OK);
    ASSERT_EQ(h.dialogs().size(), 1u);
    const fake::SeenDialog box = h.dialogs()[0];
    EXPECT_EQ(box.text, addin::kRefusalText);
    EXPECT_EQ(box.title, "Quillmark in Excel");
    EXPECT_EQ(box.style(), MB_OK | MB_ICONHAND);
    // AddInInst.Connect = False, and nothing built.
    EXPECT_EQ(h.record->connectWrites(), std::vector<bool>{false});
    EXPECT_FALSE(h.host.findByTag("NVK"));
    EXPECT_FALSE(h.host.findBar("QM"));
    EXPECT_TRUE(h.allReleased());
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace qm::e2e
