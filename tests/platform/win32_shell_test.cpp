// Windows user-interface services, answered the way a user would: the test finds the
// real message box or dialog and presses its button.
#include <gtest/gtest.h>

#include <thread>

#include "win32/shell.h"

namespace qm::win32 {
namespace {

struct WindowDestroyer { void operator()(HWND window) const noexcept { ::DestroyWindow(window); } };
using UniqueHwnd = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

UniqueHwnd makeWindow(const wchar_t* title, int left, int top, int width, int height) {
    return UniqueHwnd(::CreateWindowExW(0, L"STATIC", title, WS_POPUP, left, top, width, height, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr));
}

// What a user saw in a dialog and pressed.
struct Seen {
    bool found = false;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring text;
};

// On another thread, waits for a dialog of this process to appear, records it and sends
// it `button`. Any dialog of ours is answered, so a wrong owner or title fails the test
// rather than leaving it waiting.
std::thread pressWhenShown(int button, Seen& seen) {
    return std::thread([button, &seen] {
        for (int i = 0; i < 500 && !seen.found; ++i) {
            HWND dialog = nullptr;
            while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr))) {
                DWORD process = 0;
                ::GetWindowThreadProcessId(dialog, &process);
                if (process != ::GetCurrentProcessId() || !::IsWindowVisible(dialog)) continue;
                seen.found = true;
                seen.owner = ::GetWindow(dialog, GW_OWNER);
                wchar_t text[256] = {};
                ::GetWindowTextW(dialog, text, 256);
                seen.title = text;
                ::GetDlgItemTextW(dialog, 0xFFFF, text, 256);  // a message box's text control
                seen.text = text;
                ::PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
                break;
            }
            ::Sleep(20);
        }
    });
}

// Wine makes windows only with a display driver: X (DISPLAY) or its null driver
// (HKCU\Software\Wine\Drivers, Graphics=null). Without one these tests cannot run.
class Win32WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!makeWindow(L"probe", 0, 0, 10, 10))
            GTEST_SKIP() << "no window can be created here (under Wine: no display driver)";
    }
};

TEST_F(Win32WindowsTest, FinderFindsATopLevelWindowByClassAndTitle) {
    auto window = makeWindow(L"Quillmark finder test", 10, 20, 100, 50);
    ASSERT_TRUE(window);
    Win32WindowFinder finder;
    auto rect = finder.findWindowRect("Static", "Quillmark finder test");
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, 10);
    EXPECT_EQ(rect->top, 20);
    EXPECT_EQ(rect->right, 110);
    EXPECT_EQ(rect->bottom, 70);
    EXPECT_TRUE(finder.findWindowRect("", "Quillmark finder test"));
    EXPECT_EQ(finder.findWindowRect("NoSuchClassHere", "Quillmark finder test"), std::nullopt);
    EXPECT_EQ(finder.findWindowRect("Static", "No such title"), std::nullopt);
}

TEST_F(Win32WindowsTest, MessageBoxShowsJapaneseOwnedByTheHostAndReturnsTheButton) {
    auto host = makeWindow(L"host", 0, 0, 200, 100);
    ASSERT_TRUE(host);
    int ownerAsked = 0;
    Win32MessageBox box([&] {
        ++ownerAsked;
        return host.get();
    });
    Seen seen;
    std::thread user = pressWhenShown(IDNO, seen);
    int result = box.show("図形を削除しますか？", platform::mb::kYesNo | platform::mb::kQuestion, "描画の確認");
    user.join();
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, host.get());
    EXPECT_EQ(seen.title, L"描画の確認");
    EXPECT_EQ(seen.text, L"図形を削除しますか？");
    EXPECT_EQ(result, platform::mb::kResultNo);
    EXPECT_EQ(ownerAsked, 1);
}

TEST_F(Win32WindowsTest, ColorChooserOkGivesTheColourAndCancelGivesNothing) {
    auto host = makeWindow(L"host", 0, 0, 200, 100);
    ASSERT_TRUE(host);
    Win32ColorChooser chooser([&] { return host.get(); });
    {
        Seen seen;
        std::thread user = pressWhenShown(IDOK, seen);
        auto chosen = chooser.choose(0x336699);
        user.join();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.owner, host.get());
        EXPECT_EQ(chosen, 0x336699);
    }
    {
        Seen seen;
        std::thread user = pressWhenShown(IDCANCEL, seen);
        auto chosen = chooser.choose(0x000080);
        user.join();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(chosen, std::nullopt);
    }
}

}  // namespace
}  // namespace qm::win32
