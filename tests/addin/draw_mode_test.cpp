// Entering and leaving Draw mode when the host refuses calls: Excel always gets its bars,
// display and drawing aids back, and an entry that fails puts back only what it saved.
#include "tests/addin/fixture.h"

#include "core/host/constants.h"

namespace qm::testing {
namespace {

using Kind = scripted::Event::Kind;
const std::string kGoto = kMenu + "Goto &Draw mode";

void enter(AddinHarness& h) {
    h.messages.queue(platform::mb::kResultNo);
    h.click(kGoto);
}

void leave(AddinHarness& h) { h.click("QM_MENU > &File > E&xit Draw mode"); }

// What would keep the user from working in Excel: a disabled toolbar or menu bar, screen
// updating off, a Draw-mode bar left over.
std::vector<std::string> crippled(const sim::SimHost& host) {
    std::vector<std::string> found;
    for (const auto& bar : host.bars()) {
        if ((bar->type == host::msoBarTypeNormal || bar->type == host::msoBarTypeMenuBar) && !bar->enabled) {
            found.push_back(bar->name + " disabled");
        }
        if (bar->name.rfind("QM_", 0) == 0) found.push_back(bar->name + " left");
    }
    if (!host.screenUpdating()) found.push_back("screen updating off");
    return found;
}

int32_t modeState(AddinHarness& h, const std::string& path) { return h.host.controlState(h.host.findByPath(path)); }

void noAdvice(AddinHarness& h) { h.store.write(settings::kApp, "App", "OnePoint", "0"); }

TEST(DrawModeExit, AnyOneRefusedCallStillGivesExcelEverythingBackAndReportsOnce) {
    int64_t calls = 0;
    {
        AddinHarness h;
        noAdvice(h);
        ASSERT_TRUE(h.connect());
        enter(h);
        h.host.resetCounts();
        leave(h);
        calls = h.host.calls();
    }
    ASSERT_GT(calls, 50);
    for (int64_t n = 1; n <= calls; ++n) {
        AddinHarness h;
        noAdvice(h);
        ASSERT_TRUE(h.connect());
        enter(h);
        const int shownBefore = h.count(Kind::MessageBox);
        h.host.failCall(n);
        leave(h);
        // A refused host-ready test makes the click do nothing: the user clicks again.
        if (h.addin->state().drawMode) leave(h);
        EXPECT_EQ(crippled(h.host), std::vector<std::string>{}) << "call " << n;
        EXPECT_TRUE(h.host.displayFormulaBar()) << "call " << n;
        EXPECT_LE(h.count(Kind::MessageBox) - shownBefore, 1) << "call " << n;
        EXPECT_EQ(modeState(h, kGoto), host::msoButtonUp) << "call " << n;
    }
}

TEST_F(AddinTest, AddinToolbarDeletedByAMacroInDrawModeStillLeavesExcelUsable) {
    noAdvice(*this);
    ASSERT_TRUE(connect());
    enter(*this);
    host.removeBar("QM");
    events.clear();
    leave(*this);
    EXPECT_EQ(crippled(host), std::vector<std::string>{});
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"(5) Invalid procedure call or argument"});
    EXPECT_TRUE(host.displayFormulaBar());
    // Unloading the add-in then leaves nothing of it either.
    disconnect();
    EXPECT_EQ(crippled(host), std::vector<std::string>{});
    EXPECT_FALSE(host.findByTag("NVK"));
    EXPECT_EQ(host.liveHandles(), 0);
}

// After a normal round the user turns full screen off and Snap to Grid on and docks the
// add-in toolbar at the left; a second entry that fails early must put none of the first
// round's values back.
TEST(DrawModeEntry, AFailedSecondEntryPutsBackOnlyWhatItSavedItself) {
    for (const char* refused : {"Application.ScreenUpdating=", "Application.DisplayFullScreen"}) {
        SCOPED_TRACE(refused);
        AddinHarness h;
        noAdvice(h);
        ASSERT_TRUE(h.connect());
        h.host.setDisplayFullScreen(true);
        enter(h);
        leave(h);
        ASSERT_TRUE(h.host.displayFullScreen());
        h.host.setDisplayFullScreen(false);
        h.host.setToggle(host::ctl::kSnapToGrid, true);
        h.host.barHandle(h.host.findBar("QM"))->setPosition(host::msoBarLeft);

        h.host.failMember(refused);
        enter(h);
        EXPECT_EQ(crippled(h.host), std::vector<std::string>{});
        EXPECT_FALSE(h.host.displayFullScreen());
        EXPECT_TRUE(h.host.toggle(host::ctl::kSnapToGrid));
        EXPECT_EQ(h.host.findBar("QM")->position, host::msoBarLeft);
        EXPECT_EQ(modeState(h, kGoto), host::msoButtonUp);
    }
}

TEST_F(AddinTest, ModeButtonsGoUpWhenTheirStateCouldNotBeWrittenOnEntry) {
    noAdvice(*this);
    ASSERT_TRUE(connect());
    host.failMember("CommandBarControl.State=", 2);  // the toolbar copy, going down
    enter(*this);
    EXPECT_EQ(modeState(*this, kGoto), host::msoButtonUp);
    EXPECT_EQ(modeState(*this, "QM > Goto &Draw mode"), host::msoButtonUp);
    EXPECT_EQ(crippled(host), std::vector<std::string>{});
    // So the next click enters Draw mode rather than leaving a mode that is not on.
    enter(*this);
    EXPECT_TRUE(host.findBar("QM_MENU"));
    EXPECT_EQ(modeState(*this, kGoto), host::msoButtonDown);
}

TEST_F(AddinTest, ChosenBarsComeBackWhereTheyWereNamedTwiceOrDockedAndAMissingPaletteIsSkipped) {
    noAdvice(*this);
    store.write(settings::kApp, "Setting", "ShowBarArray", "Picture,Forms,Picture");
    auto picture = host.findBar("Picture");
    host.barHandle(picture)->setPosition(host::msoBarTop);
    const int32_t row = picture->rowIndex;
    host.removeBar("Fill Color");
    ASSERT_TRUE(connect());
    enter(*this);
    EXPECT_EQ(messageTexts().size(), 1u);  // the question only
    EXPECT_TRUE(host.findBar("QM_MENU"));
    EXPECT_EQ(picture->position, host::msoBarFloating);
    leave(*this);
    EXPECT_EQ(picture->position, host::msoBarTop);
    EXPECT_EQ(picture->rowIndex, row);
    EXPECT_FALSE(picture->visible);
    EXPECT_EQ(host.findBar("Forms")->position, host::msoBarFloating);
    EXPECT_FALSE(host.findBar("Forms")->visible);
}

TEST_F(AddinTest, NumbersBeyondRangeInTheSettingsDoNotStopDrawMode) {
    store.write(settings::kApp, "Setting", "BackColor", "1e999");
    store.write(settings::kApp, "App", "OnePoint", "&H1FFFFFFFF");
    std::vector<std::string> windows;
    onWindow = [&](ui::headless::Form& form) {
        windows.push_back(form.name());
        form.userClose();
    };
    ASSERT_TRUE(connect());
    messages.queue(platform::mb::kResultYes);
    click(kGoto);
    EXPECT_EQ(messageTexts().size(), 1u);  // the question only
    EXPECT_TRUE(host.findBar("QM_MENU"));
    auto draw = host.activeSheet();
    EXPECT_EQ(draw->name, "DRAW");
    EXPECT_FALSE(draw->background);                              // BackColor reads as its default, 0
    EXPECT_EQ(windows, std::vector<std::string>{"frmOnePoint"});  // OnePoint reads as its default, 1
}

// A full disk or a locked store: settings read, nothing can be written.
class LockedStore : public platform::SettingsStore {
public:
    std::optional<std::string> read(const std::string& app, const std::string& section, const std::string& key) override {
        return values.read(app, section, key);
    }
    void write(const std::string&, const std::string&, const std::string&, const std::string&) override {
        throw platform::PlatformError("access denied");
    }
    settings::MemoryStore values;
};

TEST_F(AddinTest, ASettingsStoreThatCannotBeWrittenDoesNotStopDrawMode) {
    LockedStore locked;
    locked.values.write(settings::kApp, "App", "OnePoint", "0");
    platform::Services lockedServices{locked,         services.locale,     services.temp,   services.files,
                                      services.shell, services.sound,      services.messageBox,
                                      services.colors, services.clipboard, services.windows};
    addin::Connect lockedAddin(lockedServices, toolkit);
    record = host.addAddIn(kProgId);
    lockedAddin.onConnection(host.application(), *record);
    auto bar = host.findBar("QM");
    host.barHandle(bar)->setPosition(host::msoBarLeft);
    messages.queue(platform::mb::kResultNo);
    click(kGoto);
    EXPECT_EQ(messageTexts().size(), 1u);  // the question only
    EXPECT_TRUE(host.findBar("QM_MENU"));
    leave(*this);
    // The place entry could not store is put back from what it read.
    EXPECT_EQ(bar->position, host::msoBarLeft);
    EXPECT_EQ(crippled(host), std::vector<std::string>{});
    lockedAddin.onDisconnection();
    EXPECT_FALSE(host.findBar("QM"));
    EXPECT_EQ(host.liveHandles(), 0);
}

}  // namespace
}  // namespace qm::testing
