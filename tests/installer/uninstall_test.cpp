// The uninstaller run silently: what it removes, what it keeps (the user's settings, files
// the user added), and that it removes nothing while a running program holds the DLL, as
// Excel does; the setup program refuses to replace a held DLL the same way.
#include <gtest/gtest.h>

#include "tests/installer/setup_driver.h"

namespace qm::installer_test {
namespace {

const std::wstring kOtherProgramsSettings = L"Software\\VB and VBA Program Settings\\Another Program\\Main";

void expectRegistrationGone() {
    EXPECT_FALSE(keyExists(kProgIdKey));
    EXPECT_FALSE(keyExists(kClassKey));
    EXPECT_FALSE(keyExists(kExcelAddinKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
}

void expectEverythingInstalled(const std::wstring& dir) {
    EXPECT_EQ(directoryListing(dir), (std::vector<std::wstring>{L"QuillmarkInExcel.dll", L"ReadMe-ja.txt",
                                                                 L"ReadMe.txt", L"uninstall.exe"}));
    EXPECT_TRUE(keyExists(kProgIdKey));
    EXPECT_TRUE(keyExists(kClassKey));
    EXPECT_EQ(readDword(kExcelAddinKey, L"LoadBehavior"), 3u);
    EXPECT_TRUE(keyExists(kUninstallKey));
    EXPECT_TRUE(settingsIntact());
}

// The DLL loaded into this process, as Excel holds it while it runs.
class HeldDll {
public:
    explicit HeldDll(const std::wstring& path) : module_(::LoadLibraryW(path.c_str())) {}
    ~HeldDll() { release(); }
    HeldDll(const HeldDll&) = delete;
    HeldDll& operator=(const HeldDll&) = delete;
    bool held() const { return module_ != nullptr; }
    void release() {
        if (module_) ::FreeLibrary(module_);
        module_ = nullptr;
    }

private:
    HMODULE module_;
};

TEST(SilentUninstall, RemovesTheAddinAndKeepsTheSettings) {
    ASSERT_EQ(installSilently(), 0u);
    writeSomeSettings();
    ASSERT_EQ(uninstallSilently(defaultInstallDir()), 0u);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    expectRegistrationGone();
    EXPECT_TRUE(settingsIntact());
}

TEST(SilentUninstall, KeepsFilesTheUserAddedAndTheirFolder) {
    ASSERT_EQ(installSilently(), 0u);
    writeFile(defaultInstallDir() + L"\\my drawing notes.txt", "mine");
    ASSERT_EQ(uninstallSilently(defaultInstallDir()), 0u);
    EXPECT_EQ(directoryListing(defaultInstallDir()), std::vector<std::wstring>{L"my drawing notes.txt"});
    expectRegistrationGone();
}

TEST(SilentUninstall, RemovesTheSettingsWhenAskedAndNoOtherProgramsSettings) {
    ASSERT_EQ(installSilently(), 0u);
    writeSomeSettings();
    writeString(kOtherProgramsSettings, L"Size", L"10");
    ASSERT_EQ(uninstallSilently(defaultInstallDir(), L"/REMOVESETTINGS"), 0u);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    expectRegistrationGone();
    EXPECT_FALSE(keyExists(kSettingsKey));
    EXPECT_EQ(readString(kOtherProgramsSettings, L"Size"), L"10");
}

TEST(SilentUninstall, RemovesTheRegistrationOfADllDeletedByHand) {
    ASSERT_EQ(installSilently(), 0u);
    ASSERT_TRUE(::DeleteFileW((defaultInstallDir() + L"\\" + kDllName).c_str()));
    ASSERT_EQ(uninstallSilently(defaultInstallDir()), 0u);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    expectRegistrationGone();
}

TEST(SilentUninstall, TheEntrysQuietUninstallStringRemovesTheAddin) {
    ASSERT_EQ(installSilently(), 0u);
    const auto command = readString(kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(command);
    // Run as Add or Remove Programs and deployment tools run it. The uninstaller hands its
    // work to a copy of itself outside the folder and returns: wait for the copy's work.
    ASSERT_EQ(run(*command), 0u);
    for (int tries = 0; tries < 600 && (keyExists(kUninstallKey) || directoryExists(defaultInstallDir())); ++tries)
        ::Sleep(100);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    expectRegistrationGone();
}

TEST(DllInUse, TheUninstallerRefusesAndRemovesNothing) {
    ASSERT_EQ(installSilently(), 0u);
    writeSomeSettings();
    const std::wstring dir = defaultInstallDir();
    HeldDll excel(dir + L"\\" + kDllName);
    ASSERT_TRUE(excel.held());

    EXPECT_EQ(uninstallSilently(dir), kExitInUse);
    expectEverythingInstalled(dir);
    EXPECT_EQ(uninstallSilently(dir, L"/REMOVESETTINGS"), kExitInUse);
    expectEverythingInstalled(dir);

    // Excel closed: now it goes.
    excel.release();
    EXPECT_EQ(uninstallSilently(dir), 0u);
    EXPECT_FALSE(directoryExists(dir));
    expectRegistrationGone();
}

TEST(DllInUse, TheSetupProgramRefusesToReplaceItAndChangesNothing) {
    ASSERT_EQ(installSilently(), 0u);
    writeSomeSettings();
    const std::wstring dir = defaultInstallDir();
    writeFile(dir + L"\\ReadMe.txt", "damaged");
    writeString(kExcelAddinKey, L"LeftByAnEarlierVersion", L"1");
    HeldDll excel(dir + L"\\" + kDllName);
    ASSERT_TRUE(excel.held());

    EXPECT_EQ(installSilently(), kExitInUse);
    EXPECT_EQ(readFile(dir + L"\\ReadMe.txt"), "damaged");
    EXPECT_EQ(readString(kExcelAddinKey, L"LeftByAnEarlierVersion"), L"1") << "the DLL was unregistered";
    expectEverythingInstalled(dir);

    excel.release();
    EXPECT_EQ(installSilently(), 0u);
    EXPECT_NE(readFile(dir + L"\\ReadMe.txt"), "damaged");
    EXPECT_FALSE(readString(kExcelAddinKey, L"LeftByAnEarlierVersion"));
}

}  // namespace
}  // namespace qm::installer_test
