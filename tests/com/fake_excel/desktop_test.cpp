// The user's side of the test desktop: real message boxes read and answered by the
// watcher, and a module's system calls recorded through its import table (this test
// program's own table stands in for the add-in DLL's).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/com/desktop.h"
#include "sim/com/system_calls.h"
#include "win32/ui/automation.h"

#include <commdlg.h>
#include <shellapi.h>

namespace qm::fake {
namespace {

bool canShowWindows() {
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    ::DestroyWindow(probe);
    return true;
}

TEST(DialogWatcher, ReadsEachMessageBoxAsShownAndPressesTheChosenButton) {
    if (!canShowWindows()) GTEST_SKIP() << "no display driver: message boxes cannot be shown here";
    std::vector<SeenDialog> seen;
    std::vector<int> answers = {IDNO, IDOK, IDCANCEL, IDRETRY};
    DialogWatcher user([&](const SeenDialog& d) {
        seen.push_back(d);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    EXPECT_EQ(::MessageBoxW(nullptr, L"図形を削除しますか？", L"確認", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(::MessageBoxW(nullptr, L"(1004) failed\r\nsecond line", L"Quillmark in Excel", MB_OK | MB_ICONHAND), IDOK);
    EXPECT_EQ(::MessageBoxW(nullptr, L"Save?", L"t", MB_YESNOCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
    EXPECT_EQ(::MessageBoxW(nullptr, L"Again?", L"t", MB_RETRYCANCEL | MB_ICONASTERISK), IDRETRY);
    user.settle();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_TRUE(seen[0].messageBox);
    EXPECT_EQ(seen[0].text, "図形を削除しますか？");
    EXPECT_EQ(seen[0].title, "確認");
    EXPECT_EQ(seen[0].style(), MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(seen[1].text, "(1004) failed\r\nsecond line");
    EXPECT_EQ(seen[1].style(), MB_OK | MB_ICONHAND);
    EXPECT_EQ(seen[2].style(), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(seen[3].style(), MB_RETRYCANCEL | MB_ICONASTERISK);
    EXPECT_EQ(user.answered(), 4);
}

TEST(DialogWatcher, PressesAButtonTheBoxHasWhenToldOneItLacks) {
    if (!canShowWindows()) GTEST_SKIP() << "no display driver: message boxes cannot be shown here";
    DialogWatcher user([](const SeenDialog&) { return IDYES; });
    EXPECT_EQ(::MessageBoxW(nullptr, L"a", L"b", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(::MessageBoxW(nullptr, L"a", L"b", MB_OK), IDOK);
}

TEST(DialogWatcher, TypesAColourIntoTheColourDialogOrCancelsIt) {
    if (!canShowWindows()) GTEST_SKIP() << "no display driver: dialogs cannot be shown here";
    std::vector<SeenDialog> seen;
    std::vector<Reply> replies = {Reply(IDOK, RGB(0x12, 0x80, 0xFE)), Reply(IDCANCEL, RGB(1, 2, 3))};
    DialogWatcher user([&](const SeenDialog& d) {
        seen.push_back(d);
        const Reply r = replies.front();
        replies.erase(replies.begin());
        return r;
    });
    COLORREF custom[16] = {};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpCustColors = custom;
    dialog.rgbResult = RGB(0x33, 0x66, 0x99);
    dialog.Flags = CC_RGBINIT;
    ASSERT_TRUE(::ChooseColorW(&dialog));
    EXPECT_EQ(dialog.rgbResult, RGB(0x12, 0x80, 0xFE));
    dialog.rgbResult = RGB(0x33, 0x66, 0x99);
    EXPECT_FALSE(::ChooseColorW(&dialog));
    user.settle();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].colorChooser);
    EXPECT_FALSE(seen[0].messageBox);
    EXPECT_EQ(seen[0].color, RGB(0x33, 0x66, 0x99));
}

TEST(DialogWatcher, ClosesAWindowOfTheProgramThatIsNotADialog) {
    if (!canShowWindows()) GTEST_SKIP() << "no display driver: windows cannot be shown here";
    std::vector<SeenDialog> seen;
    DialogWatcher user([&](const SeenDialog& d) {
        seen.push_back(d);
        return IDCANCEL;
    });
    HWND window = ::CreateWindowExW(0, L"STATIC", L"A form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    // The window's own loop, as a modal form runs one: its close box destroys it.
    MSG msg;
    const DWORD start = ::GetTickCount();
    while (::IsWindow(window) && ::GetTickCount() - start < 5000) {
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_CLOSE && msg.hwnd == window) ::DestroyWindow(window);
            ::DispatchMessageW(&msg);
        } else {
            ::Sleep(1);
        }
    }
    EXPECT_FALSE(::IsWindow(window));
    user.settle();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].form);
    EXPECT_EQ(seen[0].title, "A form");
}

// A form with two named buttons that notes the buttons clicked, in order.
class NamedForm {
public:
    NamedForm() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuillmarkTestNamedForm";
        ::RegisterClassW(&wc);
        form = ::CreateWindowExW(0, wc.lpszClassName, L"Named", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        win32::ui::automation::setName(form, "frmNamed");
        for (int i = 0; i < 2; ++i) {
            HWND button = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10 + 100 * i, 10, 80, 30,
                                            form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), wc.hInstance, nullptr);
            win32::ui::automation::setName(button, i == 0 ? "cmdFirst" : "cmdSecond");
            buttons.push_back(button);
        }
        // Shown once complete, as a form is.
        ::ShowWindow(form, SW_SHOW);
    }
    ~NamedForm() {
        for (HWND b : buttons) win32::ui::automation::clearName(b);
        win32::ui::automation::clearName(form);
        ::DestroyWindow(form);
    }
    // Runs the window's messages until `done` or the time has passed.
    template <class Done>
    bool pumpUntil(Done done, DWORD ms = 5000) {
        const DWORD start = ::GetTickCount();
        MSG msg;
        while (!done() && ::GetTickCount() - start < ms) {
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&msg);
            } else {
                ::Sleep(1);
            }
        }
        return done();
    }

    HWND form = nullptr;
    std::vector<HWND> buttons;
    std::vector<int> clicked;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NamedForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) self->clicked.push_back(LOWORD(wParam));
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};

TEST(DialogWatcher, ClicksAFormsNamedControlsInTurnAndOffersItAgainOnceItTakesInputAgain) {
    if (!canShowWindows()) GTEST_SKIP() << "no display driver: windows cannot be shown here";
    std::vector<SeenDialog> seen;
    DialogWatcher user([&](const SeenDialog& d) {
        seen.push_back(d);
        return seen.size() == 1 ? Reply::click({"cmdSecond", "cmdMissing", "cmdFirst"}) : Reply::leave();
    });
    NamedForm f;
    ASSERT_TRUE(f.pumpUntil([&] { return f.clicked.size() == 2; }));
    EXPECT_EQ(f.clicked, (std::vector<int>{101, 100}));
    user.settle();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].form);
    EXPECT_EQ(seen[0].name, "frmNamed");
    EXPECT_EQ(seen[0].title, "Named");

    // Under a modal window of its own (disabled), then taking input again: offered again,
    // and this time left alone.
    ::EnableWindow(f.form, FALSE);
    ::Sleep(50);
    ::EnableWindow(f.form, TRUE);
    ASSERT_TRUE(f.pumpUntil([&] {
        user.settle();
        return seen.size() == 2;
    }));
    f.pumpUntil([] { return false; }, 300);  // nothing more happens to it
    EXPECT_TRUE(::IsWindow(f.form));
    EXPECT_EQ(f.clicked.size(), 2u);
    EXPECT_EQ(seen.size(), 2u);
}

class SystemCallRecorderTest : public ::testing::Test {
protected:
    std::string folder() {
        wchar_t path[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, path);
        return win32::toUtf8(path);
    }
    int beeps = 0;
    std::vector<std::string> opened, removed;
    std::vector<std::pair<std::string, uint64_t>> written;
    SystemCallObservers observers() {
        return {[this] { ++beeps; }, [this](const std::string& a) { opened.push_back(a); },
                [this](const std::string& p, uint64_t n) { written.emplace_back(p, n); },
                [this](const std::string& p) { removed.push_back(p); }};
    }
};

TEST_F(SystemCallRecorderTest, RecordsBeepsOpensAndFileReplacementsWhileTheSystemStillDoesThem) {
    SystemCallRecorder recorder(::GetModuleHandleW(nullptr), observers());
    const auto patched = recorder.patched();
    for (const char* name : {"MessageBeep", "ShellExecuteA", "MoveFileExW", "DeleteFileW"}) {
        ASSERT_NE(std::find(patched.begin(), patched.end(), name), patched.end()) << name;
    }

    EXPECT_TRUE(::MessageBeep(MB_OK));
    EXPECT_EQ(beeps, 1);

    // Recorded and not run: nothing is opened for real.
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", "https://quillmark.example.org/help/", "", "", SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<uintptr_t>(result), 32u);
    EXPECT_EQ(opened, std::vector<std::string>{"https://quillmark.example.org/help/"});

    const std::string from = folder() + "qm_recorder_from.tmp", to = folder() + "qm_recorder_to.tmp";
    HANDLE file = ::CreateFileW(win32::toUtf16(from).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ::WriteFile(file, "12345", 5, &done, nullptr);
    ::CloseHandle(file);
    ASSERT_TRUE(::MoveFileExW(win32::toUtf16(from).c_str(), win32::toUtf16(to).c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].first, to);
    EXPECT_EQ(written[0].second, 5u);
    EXPECT_TRUE(::DeleteFileW(win32::toUtf16(to).c_str()));
    EXPECT_FALSE(::DeleteFileW(win32::toUtf16(to).c_str()));  // gone: a failed removal is not recorded
    EXPECT_EQ(removed, std::vector<std::string>{to});
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SystemCallRecorderTest, TheTemporaryFolderCanBeMadeToRefuse) {
    char folder[MAX_PATH] = {}, name[MAX_PATH] = {};
    SystemCallRecorder recorder(::GetModuleHandleW(nullptr), observers());
    recorder.setTempFolderFailing(false, true);
    ASSERT_GT(::GetTempPathA(MAX_PATH, folder), 0u);
    EXPECT_EQ(::GetTempFileNameA(folder, "qmt", 0, name), 0u);
    recorder.setTempFolderFailing(true, true);
    EXPECT_EQ(::GetTempPathA(MAX_PATH, folder), 0u);
    recorder.setTempFolderFailing(false, false);
    ASSERT_GT(::GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(::GetTempFileNameA(folder, "qmt", 0, name), 0u);
    EXPECT_TRUE(::DeleteFileA(name));
}

std::string country() {
    char buffer[128] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, buffer, 128) == 0) return "(failed)";
    return buffer;
}

TEST_F(SystemCallRecorderTest, TheUserLocaleTheModuleSeesCanBeChosenAndPutBack) {
    const std::string system = country();
    {
        SystemCallRecorder recorder(::GetModuleHandleW(nullptr), observers());
        EXPECT_EQ(country(), system);
        recorder.setUserLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT));
        EXPECT_EQ(country(), "Japan");
        wchar_t month[32] = {};
        ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME1, month, 32);
        EXPECT_EQ(month[0], L'1');  // "1" or "1月", as the system words it
        recorder.setUserLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
        EXPECT_EQ(country(), "United States");
        // No country at all: that query fails, others still answer.
        recorder.setUserLocale(std::nullopt);
        EXPECT_EQ(country(), "(failed)");
        char language[64] = {};
        EXPECT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, language, 64), 0);
        // Explicit locales are never redirected.
        char us[64] = {};
        ::GetLocaleInfoA(0x0409, LOCALE_SENGCOUNTRY, us, 64);
        EXPECT_STREQ(us, "United States");
    }
    EXPECT_EQ(country(), system);
}

}  // namespace
}  // namespace qm::fake
