// The uninstaller with its pages, as a user runs it while Excel still holds the DLL: the
// options page and the "close Excel" message box speak the user's language (Japanese
// exactly in a Japanese locale); Cancel on the box leaves everything in place even with
// "remove my settings" ticked, and Retry once Excel is closed removes everything, the
// ticked settings too. CTest runs these tests in the locale their names say, which Wine
// takes from LC_ALL.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/installer/setup_driver.h"

namespace qm::installer_test {
namespace {

constexpr int kHeaderTitleId = 1037;  // the Modern UI's page title in the header
constexpr int kMessageTextId = 0xFFFF;

std::wstring textOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::string utf8(const std::wstring& s) { return win32::toUtf8(s); }

struct Search {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && ::IsWindowVisible(window) && classOf(window) == L"#32770")
        search->found.push_back(window);
    return TRUE;
}

// The visible dialog windows of `process`: its wizard and its message boxes.
std::vector<HWND> dialogsOf(DWORD process) {
    Search search{process, {}};
    ::EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool isMessageBox(HWND dialog) { return ::GetDlgItem(dialog, kMessageTextId) && ::GetDlgItem(dialog, IDCANCEL); }

BOOL CALLBACK findCheckBoxChild(HWND child, LPARAM param) {
    const LONG type = ::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    if (classOf(child) == L"Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

HWND findCheckBox(HWND parent) {
    HWND found = nullptr;
    ::EnumChildWindows(parent, findCheckBoxChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

void press(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// What the user saw, in order.
struct Seen {
    std::wstring pageTitle;
    std::wstring checkBox;
    std::wstring message;
    bool retryOffered = false;
    DWORD exitCode = 0;
    bool finished = false;
};

// Runs the uninstaller of `dir` with its pages: ticks "remove my settings", clicks
// Uninstall, reads the message box and presses what `answer` returns, then closes the
// wizard.
Seen uninstallLikeAUser(const std::wstring& dir, const std::function<int()>& answer) {
    Seen seen;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"qm-uninstall.exe";
    if (!::CopyFileW((dir + L"\\uninstall.exe").c_str(), copy.c_str(), FALSE)) return seen;
    std::wstring line = L"\"" + copy + L"\" _?=" + dir;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return seen;
    ::CloseHandle(process.hThread);

    enum class Step { OptionsPage, MessageBox, Closing } step = Step::OptionsPage;
    for (int tries = 0; tries < 1200 && ::WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT; ++tries) {
        for (HWND dialog : dialogsOf(process.dwProcessId)) {
            if (isMessageBox(dialog)) {
                if (step == Step::MessageBox) {
                    seen.message = textOf(::GetDlgItem(dialog, kMessageTextId));
                    seen.retryOffered = ::GetDlgItem(dialog, IDRETRY) != nullptr;
                    press(dialog, answer());
                    step = Step::Closing;
                } else if (step == Step::Closing && ::GetDlgItem(dialog, IDYES)) {
                    press(dialog, IDYES);  // "Are you sure you want to quit?"
                }
                break;
            }
            if (::GetWindow(dialog, GW_OWNER)) continue;
            if (step == Step::OptionsPage) {
                HWND box = findCheckBox(dialog);
                if (!box) continue;
                seen.pageTitle = textOf(::GetDlgItem(dialog, kHeaderTitleId));
                seen.checkBox = textOf(box);
                ::SendMessageW(box, BM_CLICK, 0, 0);
                press(dialog, IDOK);
                step = Step::MessageBox;
            } else if (step == Step::Closing) {
                for (int id : {IDOK, IDCANCEL}) {
                    HWND button = ::GetDlgItem(dialog, id);
                    if (button && ::IsWindowEnabled(button) && ::IsWindowVisible(button)) {
                        press(dialog, id);
                        break;
                    }
                }
            }
        }
    }
    if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        seen.finished = true;
        ::GetExitCodeProcess(process.hProcess, &seen.exitCode);
    } else {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, 5000);
    }
    ::CloseHandle(process.hProcess);
    ::DeleteFileW(copy.c_str());
    return seen;
}

std::string userCountry() {
    char country[128] = {};
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, country, sizeof country);
    return country;
}

const std::vector<std::wstring> kInstalledFiles = {L"QuillmarkInExcel.dll", L"ReadMe-ja.txt", L"ReadMe.txt",
                                                   L"uninstall.exe"};

class UninstallerPages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(installSilently(), 0u);
        writeSomeSettings();
        excel_ = ::LoadLibraryW((defaultInstallDir() + L"\\" + kDllName).c_str());
        ASSERT_TRUE(excel_);
    }
    void TearDown() override { closeExcel(); }
    void closeExcel() {
        if (excel_) ::FreeLibrary(excel_);
        excel_ = nullptr;
    }

private:
    HMODULE excel_ = nullptr;
};

TEST_F(UninstallerPages, EnglishOutsideJapanAndCancelKeepsEverything) {
    ASSERT_NE(userCountry(), "Japan") << "run this test in a locale outside Japan (LC_ALL=en_US.UTF-8)";
    const Seen seen = uninstallLikeAUser(defaultInstallDir(), [] { return IDCANCEL; });
    EXPECT_EQ(seen.pageTitle, L"Remove Quillmark in Excel");
    EXPECT_EQ(seen.checkBox, L"Also remove my settings");
    EXPECT_NE(seen.message.find(L"Close Excel, then click Retry"), std::wstring::npos) << utf8(seen.message);
    EXPECT_TRUE(seen.retryOffered);
    ASSERT_TRUE(seen.finished) << "the uninstaller did not end";
    EXPECT_EQ(seen.exitCode, kExitInUse);
    EXPECT_EQ(directoryListing(defaultInstallDir()), kInstalledFiles);
    EXPECT_EQ(readDword(kExcelAddinKey, L"LoadBehavior"), 3u);
    EXPECT_TRUE(keyExists(kUninstallKey));
    EXPECT_TRUE(settingsIntact());
}

TEST_F(UninstallerPages, JapaneseInJapanAndRetryAfterClosingExcelRemovesAll) {
    ASSERT_EQ(userCountry(), "Japan") << "run this test in a Japanese locale (LC_ALL=ja_JP.UTF-8)";
    const Seen seen = uninstallLikeAUser(defaultInstallDir(), [this] {
        closeExcel();
        return IDRETRY;
    });
    EXPECT_EQ(utf8(seen.pageTitle), "Quillmark in Excel の削除");
    EXPECT_EQ(utf8(seen.checkBox), "設定も削除する");
    EXPECT_NE(utf8(seen.message).find("Excel を終了してから［再試行］"), std::string::npos) << utf8(seen.message);
    EXPECT_TRUE(seen.retryOffered);
    ASSERT_TRUE(seen.finished) << "the uninstaller did not end";
    EXPECT_EQ(seen.exitCode, 0u);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    EXPECT_FALSE(keyExists(kExcelAddinKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
    EXPECT_FALSE(keyExists(kSettingsKey)) << "the settings stayed although the box was ticked";
}

}  // namespace
}  // namespace qm::installer_test
