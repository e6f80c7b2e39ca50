// The add-in's three windows as real Win32 windows over the simulated host, driven with
// window messages as a user would, checking what the host and the settings end up with;
// and opening and closing each window a hundred times leaves no handle behind.
#include <gtest/gtest.h>

#include "win32/utf.h"

#include <commctrl.h>

#include <cstdio>

#include "tests/win32ui/addin_fixture.h"
#include "tests/win32ui/driver.h"
#include "win32/ui/controls.h"
#include "win32/ui/grid.h"
#include "win32/ui/list_view.h"

namespace qm::win32::ui::testing {
namespace {

constexpr double kPointsPerCm = 72 / 2.54;

// The list view row (0-based) whose text starts with `prefix`.
int rowStarting(HWND list, const std::wstring& prefix) {
    const int n = ListView_GetItemCount(list);
    for (int i = 0; i < n; ++i) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, i, 0, text, 256);
        if (std::wstring(text).rfind(prefix, 0) == 0) return i;
    }
    return -1;
}

// Whether a control's font has glyphs for Latin letters and Japanese characters alike:
// captions of either language, and the objects' names, never show as boxes.
bool showsBothScripts(HWND control) {
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    WORD glyphs[4] = {};
    ::GetGlyphIndicesW(dc, L"Ag\x8A2D\x5B9A", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    for (WORD g : glyphs) {
        if (g == 0xFFFF) return false;
    }
    return true;
}

void typeInto(HWND edit, const std::wstring& text) {
    postClick(edit, 3, 3);
    // Then the user selects what is there with the mouse, and types over it.
    ::PostMessageW(edit, EM_SETSEL, 0, -1);
    postChars(edit, text);
}

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.addDrawing();
        ASSERT_TRUE(h.connect());
    }
    // Runs the steps while the window that `path` opens is shown.
    void open(const std::string& path, std::vector<ModalScript::Step> steps) {
        ModalScript script(h.toolkit, std::move(steps));
        ASSERT_TRUE(h.host.click(path));
        EXPECT_TRUE(script.finished());
        EXPECT_FALSE(script.timedOut()) << "the window was still open after the last step";
        EXPECT_EQ(h.toolkit.activeModalWindow(), nullptr);
    }
    WindowsAddin h;
};

TEST_F(WindowsTest, ObjectListMovesHidesAndEditsNodesOfTheSheetsObjects) {
    h.host.selectShapes({"Rectangle 1"});
    Form* f = nullptr;
    HWND list = nullptr;
    double listWidth = 0;
    open(h.productItem(44),
         {[&] {
              f = h.window("frmObjects");
              ASSERT_NE(f, nullptr);
              list = f->window("lstShapes");
              EXPECT_EQ(ListView_GetItemCount(list), 4);
              EXPECT_TRUE(showsBothScripts(list));
              EXPECT_TRUE(showsBothScripts(f->window("cmdToFront")));
              EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), rowStarting(list, L"Rectangle 1"));
              // The left edge: 5 cm, and Enter.
              typeInto(f->window("txtPosition(0)"), L"5");
              postKey(f->window("txtPosition(0)"), VK_RETURN);
          },
          [&] {
              EXPECT_NEAR(h.shape("Rectangle 1")->left, 5 * kPointsPerCm, 0.01);
              EXPECT_EQ(f->find<TextBox>("txtPosition(0)")->text(), "5.00 cm");
              // The oval's box unticked: the oval is hidden.
              const POINT box = listCheckBox(list, rowStarting(list, L"Oval 2"));
              postClick(list, box.x, box.y);
          },
          [&] {
              EXPECT_FALSE(h.shape("Oval 2")->visible);
              EXPECT_FALSE(ListView_GetCheckState(list, rowStarting(list, L"Oval 2")));
              // The freeform's row, then the node panel.
              const POINT row = centre(listRow(list, rowStarting(list, L"Freeform 3")));
              postClick(list, row.x + 30, row.y);
              postButton(f->window("cmdNodeShow"));
          },
          [&] {
              auto* grid = f->find<Grid>("fxgNodes");
              ASSERT_TRUE(grid->visible());
              EXPECT_TRUE(::IsWindowVisible(grid->hwnd()));
              EXPECT_EQ(grid->rows(), 13);
              EXPECT_EQ(grid->textMatrix(1, 1), "2.12");  // 60 points
              const POINT cell = centre(grid->cellRect(1, 1));
              postDoubleClick(grid->hwnd(), cell.x, cell.y);
          },
          [&] {
              HWND editor = f->window("txtNode");
              ASSERT_TRUE(::IsWindowVisible(editor));
              EXPECT_EQ(::GetFocus(), editor);
              postChars(editor, L"3");  // over the selected value
              postKey(editor, VK_RETURN);
          },
          [&] {
              EXPECT_NEAR(h.shape("Freeform 3")->nodes.at(0).x, 3 * kPointsPerCm, 0.01);
              EXPECT_EQ(f->find<Grid>("fxgNodes")->textMatrix(1, 1), "3.00");
              EXPECT_FALSE(::IsWindowVisible(f->window("txtNode")));
              // The splitter between the list and the node panel, 20 pixels to the left.
              listWidth = f->find<ListView>("lstShapes")->width();
              sendDrag(f->window("imgV"), {1, 200}, {-19, 200}, 4);
          },
          [&] {
              const double tpp = h.toolkit.twipsPerPixelX();
              EXPECT_NEAR(f->find<ListView>("lstShapes")->width(), listWidth - 20 * tpp, 0.01);
              RECT rc;
              ::GetWindowRect(list, &rc);
              EXPECT_EQ(rc.right - rc.left, h.toolkit.pixelsX(listWidth - 20 * tpp));
              postButton(f->window("cmdClose"));
          }});
    EXPECT_FALSE(h.window("frmObjects"));  // the window is gone with the command
    for (const auto& m : h.messages.shown()) ADD_FAILURE() << "message box: " << m.text;
}

TEST_F(WindowsTest, SettingsDialogStoresWhatWasTypedTickedAndSpun) {
    Form* f = nullptr;
    open(h.productItem(2),
         {[&] {
              f = h.window("frmSetting");
              ASSERT_NE(f, nullptr);
              EXPECT_EQ(f->find<TextBox>("txtGrid(0)")->text(), "1.0");
              typeInto(f->window("txtGrid(0)"), L"2.5");
          },
          [&] {
              postButton(f->window("chkFitGrid"));  // on by default: off
              // The height's spinner, upper arrow: one tenth more.
              ::PostMessageW(f->window("Frame1"), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(f->window("vscGrid(1)")));
              const POINT box = listCheckBox(f->window("lstBar"), 0);
              postClick(f->window("lstBar"), box.x, box.y);
          },
          [&] {
              EXPECT_EQ(f->find<TextBox>("txtGrid(1)")->text(), "10.1");
              EXPECT_EQ(f->find<ScrollBar>("vscGrid(1)")->value(), -101);
              postButton(f->window("cmdOK"));
          }});
    settings::Settings stored(h.store);
    EXPECT_EQ(stored.get(settings::keys::GridWidth), "2.5");
    EXPECT_EQ(stored.get(settings::keys::GridHeight), "10.1");
    EXPECT_EQ(stored.get(settings::keys::FitGrid), "0");
    EXPECT_NE(stored.get(settings::keys::ShowBarArray), "");
    ASSERT_EQ(h.messages.shown().size(), 1u);  // the grid changes with the next drawing sheet
}

TEST_F(WindowsTest, OnePointAdvicePagesAndItsChoiceForNextTime) {
    Form* f = nullptr;
    open(h.productItem(1),
         {[&] {
              f = h.window("frmOnePoint");
              ASSERT_NE(f, nullptr);
              EXPECT_EQ(f->find<qm::ui::Label>("lblNo")->caption(), "( 1 / 6 )");
              EXPECT_FALSE(::IsWindowEnabled(f->window("cmdBefor")));
              postButton(f->window("cmdNext"));
              postButton(f->window("cmdNext"));
          },
          [&] {
              EXPECT_EQ(f->find<qm::ui::Label>("lblNo")->caption(), "( 3 / 6 )");
              EXPECT_TRUE(::IsWindowEnabled(f->window("cmdBefor")));
              postButton(f->window("chkLoadTipsAtStartup"));
          },
          [&] { postKey(f->window("chkLoadTipsAtStartup"), VK_ESCAPE); }});  // the cancel button: Close
    EXPECT_EQ(h.stored("App", "OnePoint"), "0");
}

// Handles of the process now: the toolkit's own count of what it made, the windows of the
// thread, and what Windows reports (Wine reports 0).
struct Counts {
    int toolkitGdi = 0;
    int toolkitWindows = 0;
    int threadWindows = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    bool operator==(const Counts&) const = default;
};

void report(const char* what, const Counts& a, const Counts& b) {
    std::printf("%s, 100 openings: toolkit GDI objects %d -> %d, toolkit windows %d -> %d, thread windows %d -> %d, "
                "GetGuiResources GDI %lu -> %lu, USER %lu -> %lu\n",
                what, a.toolkitGdi, b.toolkitGdi, a.toolkitWindows, b.toolkitWindows, a.threadWindows, b.threadWindows, a.gdi, b.gdi,
                a.user, b.user);
}

TEST_F(WindowsTest, OpeningAndClosingEachWindowAHundredTimesLeavesNoHandle) {
    const auto counts = [this] {
        return Counts{h.toolkit.tally().gdiObjects, h.toolkit.tally().userObjects, threadWindowCount(),
                      ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
    };
    const auto closeAtOnce = [this](const std::string& path) {
        ModalScript script(h.toolkit, {[this] { ::PostMessageW(h.toolkit.activeModalWindow(), WM_CLOSE, 0, 0); }});
        h.host.click(path);
        return script.finished();
    };
    // Once each first, for whatever the system makes once.
    ASSERT_TRUE(closeAtOnce(h.productItem(44)));
    ASSERT_TRUE(closeAtOnce(h.productItem(2)));
    Counts before = counts();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(closeAtOnce(h.productItem(44)));
        ASSERT_TRUE(closeAtOnce(h.productItem(2)));
    }
    Counts after = counts();
    report("Object List and Setting", before, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(before.toolkitWindows, 0);  // no window of the add-in is left between two openings
    // The advice, from the Draw-mode menu (entering Draw mode shows it once too).
    ASSERT_TRUE(closeAtOnce(h.productItem(1)));
    ASSERT_TRUE(closeAtOnce(h.drawMenuItem(50, 51)));
    before = counts();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(closeAtOnce(h.drawMenuItem(50, 51)));
    after = counts();
    report("One-point advice", before, after);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace qm::win32::ui::testing
