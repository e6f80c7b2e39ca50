// The DLL's own windows are real windows the user works in: the one-point advice that Draw
// mode shows, closed with its button; and the settings dialog, whose colour dialog belongs
// to it rather than to Excel's window underneath.
#include "core/settings/settings.h"
#include "tests/com/e2e/harness.h"
#include "win32/settings_registry.h"

namespace qm::e2e {
namespace {

std::vector<fake::SeenDialog> windowsNamed(Harness& h, const std::string& name) {
    std::vector<fake::SeenDialog> found;
    for (const fake::SeenDialog& d : h.dialogs()) {
        if (d.form && d.name == name) found.push_back(d);
    }
    return found;
}

TEST(Windows, DrawModeShowsTheAdviceWindowWhichItsButtonCloses) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    h.answer(IDYES);  // a new sheet to draw on
    h.useWindow("frmOnePoint", {"cmdOK"});
    // The click returns only once the window is closed: it runs in the click's modal loop.
    ASSERT_TRUE(h.clickNode(h.productItem(0)));
    const auto advice = windowsNamed(h, "frmOnePoint");
    ASSERT_EQ(advice.size(), 1u);
    EXPECT_FALSE(advice[0].title.empty());
    EXPECT_TRUE(h.host.findBar("QM_MENU")) << "Draw mode goes on after the advice";
    // Closing saved the "show at start-up" box, ticked as it was.
    win32::RegistrySettingsStore store;
    EXPECT_EQ(store.read(settings::kApp, settings::keys::OnePoint.section, settings::keys::OnePoint.name), "1");
    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
}

TEST(Windows, TheColourDialogOfTheSettingsWindowBelongsToIt) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    // Background colour on, then its colour button; once the colour dialog is answered
    // (cancelled), the window is cancelled too.
    h.useWindow("frmSetting", {"chkBackColor", "cmdColor"});
    h.useWindow("frmSetting", {"cmdCancel"});
    ASSERT_TRUE(h.clickNode(h.productItem(3)));
    std::vector<fake::SeenDialog> choosers;
    for (const fake::SeenDialog& d : h.dialogs()) {
        if (d.colorChooser) choosers.push_back(d);
    }
    ASSERT_EQ(choosers.size(), 1u);
    // Owned by Excel's disabled window instead, it would leave the settings window
    // clickable underneath.
    EXPECT_EQ(choosers[0].ownerName, "frmSetting");
    EXPECT_EQ(windowsNamed(h, "frmSetting").size(), 2u) << "offered again once the colour dialog closed";
    // Cancelled: nothing saved.
    win32::RegistrySettingsStore store;
    EXPECT_EQ(store.read(settings::kApp, settings::keys::BackColor.section, settings::keys::BackColor.name), std::nullopt);
    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
}

}  // namespace
}  // namespace qm::e2e
