// The setup program run silently on a machine where the add-in never was, and over an
// earlier install: where its files and keys go, what it leaves alone, and that Excel can
// load what it registered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "sim/addin.h"
#include "sim/sim_host.h"
#include "sim/com/addin_host.h"
#include "sim/com/desktop.h"
#include "sim/com/fake_excel.h"
#include "tests/installer/machine_state.h"
#include "tests/installer/setup_driver.h"

namespace qm::installer_test {
namespace {

const std::vector<std::wstring> kInstalledFiles = {L"QuillmarkInExcel.dll", L"ReadMe-ja.txt", L"ReadMe.txt",
                                                   L"uninstall.exe"};

std::wstring lower(std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return s;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

std::wstring serverPath() { return readString(std::wstring(kClassKey) + L"\\InprocServer32", L"").value_or(L""); }

// A text file for Notepad on Windows 2000 to 2003: every line ends in CRLF.
bool hasOnlyCrlfLineEnds(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return text.find("\r\n") != std::string::npos;
}

// A string of the version tab, in the first language the file lists.
std::wstring versionString(const std::vector<BYTE>& info, const wchar_t* name) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof *translation)
        return {};
    wchar_t path[128];
    ::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
    wchar_t* text = nullptr;
    if (!::VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&text), &size) || !text) return {};
    return text;
}

TEST(SetupProgram, HasAVersionTab) {
    const std::wstring file = setupProgram();
    DWORD ignored = 0;
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(file.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(QM_VERSION_MINOR, QM_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    const std::wstring version = win32::toUtf16(QM_VERSION_TEXT);
    EXPECT_EQ(versionString(info, L"ProductName"), L"Quillmark in Excel");
    EXPECT_EQ(versionString(info, L"ProductVersion"), version);
    EXPECT_EQ(versionString(info, L"FileVersion"), version);
    EXPECT_EQ(versionString(info, L"CompanyName"), L"Quillmark");
    EXPECT_NE(versionString(info, L"FileDescription").find(L"Quillmark in Excel"), std::wstring::npos);
    EXPECT_NE(versionString(info, L"LegalCopyright").find(L"Quillmark"), std::wstring::npos);
}

TEST(SilentInstall, WritesNothingOutsideTheUsersHiveAndProfile) {
    const MachineState before = captureMachineState();
    // The capture sees the machine: the system's own keys and files are in it.
    ASSERT_TRUE(before.registry.count(L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"));
    ASSERT_TRUE(before.files.count(L"C:\\windows\\system32"));

    ASSERT_EQ(installSilently(), 0u);
    ASSERT_TRUE(fileExists(defaultInstallDir() + L"\\" + kDllName));
    const auto installed = differences(before, captureMachineState());
    EXPECT_TRUE(installed.empty()) << "the setup program changed the machine:\n" << joined(installed);

    ASSERT_EQ(uninstallSilently(defaultInstallDir()), 0u);
    ASSERT_FALSE(directoryExists(defaultInstallDir()));
    const auto uninstalled = differences(before, captureMachineState());
    EXPECT_TRUE(uninstalled.empty()) << "the uninstaller changed the machine:\n" << joined(uninstalled);
}

TEST(SilentInstall, PutsTheAddinItsReadMesRegistrationAndUninstallEntryInPlace) {
    ASSERT_EQ(installSilently(), 0u);
    const std::wstring dir = defaultInstallDir();
    const std::wstring dll = dir + L"\\" + kDllName;

    EXPECT_EQ(directoryListing(dir), kInstalledFiles);
    const auto installed = readFile(dll);
    ASSERT_TRUE(installed);
    EXPECT_TRUE(installed == readFile(builtDll())) << "the installed DLL is not the one built";

    // The read-mes tell where the add-in shows in Excel and what to do when Excel turned it off.
    const auto english = readFile(dir + L"\\ReadMe.txt");
    const auto japanese = readFile(dir + L"\\ReadMe-ja.txt");
    ASSERT_TRUE(english && japanese);
    EXPECT_TRUE(hasOnlyCrlfLineEnds(*english));
    EXPECT_TRUE(hasOnlyCrlfLineEnds(*japanese));
    EXPECT_EQ(japanese->substr(0, 3), "\xEF\xBB\xBF") << "Notepad needs the byte order mark to read UTF-8";
    for (const char* topic : {"NVK", "COM Add-ins", "LoadBehavior", "uninstall.exe /S /REMOVESETTINGS", QM_VERSION_TEXT}) {
        EXPECT_NE(english->find(topic), std::string::npos) << "ReadMe.txt says nothing of " << topic;
    }
    for (const char* topic : {"NVK", "COM アドイン", "LoadBehavior", "uninstall.exe /S /REMOVESETTINGS"}) {
        EXPECT_NE(japanese->find(topic), std::string::npos) << "ReadMe-ja.txt says nothing of " << topic;
    }

    // The DLL's own per-user registration.
    EXPECT_EQ(readString(std::wstring(kProgIdKey) + L"\\CLSID", L""), L"{C9221B4E-05B8-4B67-B61A-750F152675BC}");
    EXPECT_EQ(lower(serverPath()), lower(dll));
    EXPECT_EQ(readString(std::wstring(kClassKey) + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(readString(kExcelAddinKey, L"FriendlyName"), L"Quillmark in Excel");
    EXPECT_EQ(readDword(kExcelAddinKey, L"LoadBehavior"), 3u);

    // The entry of Add or Remove Programs.
    const std::wstring uninstaller = L"\"" + dir + L"\\uninstall.exe\"";
    EXPECT_EQ(readString(kUninstallKey, L"DisplayName"), L"Quillmark in Excel");
    EXPECT_EQ(readString(kUninstallKey, L"DisplayVersion"), win32::toUtf16(QM_VERSION_TEXT));
    EXPECT_EQ(readString(kUninstallKey, L"Publisher"), L"Quillmark");
    EXPECT_EQ(readString(kUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(readString(kUninstallKey, L"QuietUninstallString"), uninstaller + L" /S");
    EXPECT_EQ(readString(kUninstallKey, L"InstallLocation"), dir);
    EXPECT_EQ(readDword(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(readDword(kUninstallKey, L"NoRepair"), 1u);
    // In KB: the DLL and the read-mes, which NSIS counts in whole KB each.
    const size_t bytes = installed->size() + english->size() + japanese->size();
    const auto estimated = readDword(kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(estimated);
    EXPECT_GE(*estimated, bytes / 1024);
    EXPECT_LE(*estimated, bytes / 1024 + 3);
}

TEST(SilentInstall, TheRegisteredAddinLoadsAndConnectsToExcel) {
    ASSERT_EQ(installSilently(), 0u);
    // Excel's way from its add-in list to the DLL: the ProgID's class, the class's server.
    // Wine does not read classes registered under HKCU, so the test follows the keys itself.
    const auto clsidText = readString(std::wstring(kProgIdKey) + L"\\CLSID", L"");
    ASSERT_TRUE(clsidText);
    CLSID clsid;
    ASSERT_EQ(::CLSIDFromString(clsidText->c_str(), &clsid), NOERROR);
    const std::wstring path = serverPath();
    ASSERT_EQ(lower(path), lower(defaultInstallDir() + L"\\" + kDllName));

    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        fake::AddinDll dll(path);
        fake::ComPtr<IClassFactory> factory;
        ASSERT_EQ(dll.getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put())), S_OK);
        fake::ComPtr<IUnknown> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.put())), S_OK);
        EXPECT_TRUE(object.as<IDispatch>());
        EXPECT_TRUE(object.as<fake::IDTExtensibility2>());
        object.reset();
        factory.reset();

        // Excel starting with the add-in: its menu is built, and taken down at disconnection.
        std::vector<fake::SeenDialog> dialogs;
        fake::DialogWatcher user([&](const fake::SeenDialog& d) {
            dialogs.push_back(d);
            return IDCANCEL;
        });
        sim::SimHost host;
        auto book = host.addWorkbook("Book1");
        host.addWorksheet(book, "Sheet1");
        host.activateSheet(book->sheets.front());
        fake::FakeExcel excel(host);
        {
            fake::AddinHost addin(dll, excel);
            auto record = host.addAddIn("QuillmarkInExcel.Connect");
            ASSERT_EQ(addin.connect(record), S_OK);
            user.settle();
            EXPECT_TRUE(record->connected());
            EXPECT_TRUE(host.findByTag("NVK"));
            EXPECT_TRUE(host.findByTag("QM"));
            EXPECT_EQ(addin.disconnect(), S_OK);
            EXPECT_FALSE(host.findByTag("NVK"));
        }
        user.settle();
        EXPECT_TRUE(dialogs.empty()) << "the add-in showed a message box: " << dialogs.front().text;
        EXPECT_EQ(dll.canUnloadNow(), S_OK);
    }
    ::CoUninitialize();
}

TEST(Reinstall, ReplacesAnEarlierInstallCleanlyAndKeepsTheSettings) {
    ASSERT_EQ(installSilently(), 0u);
    const std::wstring dir = defaultInstallDir();
    writeSomeSettings();
    // What time does to an install: a damaged read-me, Excel turning the add-in off after a
    // failed start (LoadBehavior 2), a value only the old registration knew, an older
    // version in the entry.
    writeFile(dir + L"\\ReadMe.txt", "damaged");
    writeDword(kExcelAddinKey, L"LoadBehavior", 2);
    writeString(kExcelAddinKey, L"LeftByAnEarlierVersion", L"1");
    writeString(kUninstallKey, L"DisplayVersion", L"1.00");

    ASSERT_EQ(installSilently(), 0u);
    EXPECT_EQ(directoryListing(dir), kInstalledFiles);
    const auto readMe = readFile(dir + L"\\ReadMe.txt");
    ASSERT_TRUE(readMe);
    EXPECT_NE(readMe->find("Quillmark in Excel"), std::string::npos);
    EXPECT_EQ(readDword(kExcelAddinKey, L"LoadBehavior"), 3u);
    // Unregistered before registering again: the old registration's value is gone.
    EXPECT_EQ(valueNames(kExcelAddinKey), (std::vector<std::wstring>{L"Description", L"FriendlyName", L"LoadBehavior"}));
    EXPECT_EQ(readString(kUninstallKey, L"DisplayVersion"), win32::toUtf16(QM_VERSION_TEXT));
    EXPECT_TRUE(settingsIntact());
}

TEST(Reinstall, GoesWhereTheEarlierInstallIsAndMovesOnlyWhenTold) {
    const std::wstring local = defaultInstallDir().substr(0, defaultInstallDir().rfind(L'\\'));
    const std::wstring earlier = local + L"\\Earlier Quillmark";
    ASSERT_EQ(installSilently(L"/D=" + earlier), 0u);
    ASSERT_EQ(lower(serverPath()), lower(earlier + L"\\" + kDllName));
    writeSomeSettings();

    // Without a folder named, the setup program installs over the earlier install.
    ASSERT_EQ(installSilently(), 0u);
    EXPECT_FALSE(directoryExists(defaultInstallDir()));
    EXPECT_EQ(directoryListing(earlier), kInstalledFiles);

    // Told another folder, it leaves nothing of the add-in in the earlier one.
    ASSERT_EQ(installSilently(L"/D=" + defaultInstallDir()), 0u);
    EXPECT_FALSE(directoryExists(earlier));
    EXPECT_EQ(directoryListing(defaultInstallDir()), kInstalledFiles);
    EXPECT_EQ(lower(serverPath()), lower(defaultInstallDir() + L"\\" + kDllName));
    EXPECT_EQ(readString(kUninstallKey, L"InstallLocation"), defaultInstallDir());
    EXPECT_TRUE(settingsIntact());
}

}  // namespace
}  // namespace qm::installer_test
