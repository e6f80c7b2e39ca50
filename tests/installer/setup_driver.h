// What a user or a deployment script does with the setup program and the uninstaller under
// Wine (silent runs, their exit codes), and the registry and files the tests read after.
#pragma once

#include "win32/utf.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::installer_test {

// Exit codes the setup program and the uninstaller document.
inline constexpr DWORD kExitInUse = 3;

inline constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillmarkInExcel";
inline constexpr const wchar_t* kSettingsKey = L"Software\\VB and VBA Program Settings\\NVK_QM_ZUZEVADE";
inline constexpr const wchar_t* kProgIdKey = L"Software\\Classes\\QuillmarkInExcel.Connect";
inline constexpr const wchar_t* kClassKey = L"Software\\Classes\\CLSID\\{C9221B4E-05B8-4B67-B61A-750F152675BC}";
inline constexpr const wchar_t* kExcelAddinKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\QuillmarkInExcel.Connect";
inline constexpr const wchar_t* kDllName = L"QuillmarkInExcel.dll";

// The built setup program and DLL, as Windows programs see them.
std::wstring setupProgram();
std::wstring builtDll();

// Where the setup program installs by default: %LOCALAPPDATA%\Quillmark in Excel.
std::wstring defaultInstallDir();

// Runs `commandLine` and waits for the process to end; its exit code. Fails the test
// (and returns a code no program uses) when it cannot be started or does not end.
DWORD run(const std::wstring& commandLine);

// setup.exe /S [extra]: extra is appended as typed ("/D=C:\\dir" must come last).
DWORD installSilently(const std::wstring& extra = L"");
// The uninstaller of `dir`, silently, as NSIS itself runs it: a copy outside the folder,
// told the folder with _?= (so that it removes the folder's uninstall.exe, and this call
// returns when it has finished). `options` come before _?=, e.g. L"/REMOVESETTINGS".
DWORD uninstallSilently(const std::wstring& dir, const std::wstring& options = L"");

// Registry of this user.
bool keyExists(const std::wstring& path);
std::optional<std::wstring> readString(const std::wstring& path, const std::wstring& name);
std::optional<DWORD> readDword(const std::wstring& path, const std::wstring& name);
void writeString(const std::wstring& path, const std::wstring& name, const std::wstring& value);
void writeDword(const std::wstring& path, const std::wstring& name, DWORD value);
std::vector<std::wstring> valueNames(const std::wstring& path);

// Files.
bool fileExists(const std::wstring& path);
bool directoryExists(const std::wstring& path);
// The file's bytes; nothing when it cannot be read.
std::optional<std::string> readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
// The names in a directory, without "." and "..", sorted.
std::vector<std::wstring> directoryListing(const std::wstring& dir);

// The values a user's add-in keeps, as the add-in itself writes them (SaveSetting).
void writeSomeSettings();
bool settingsIntact();

}  // namespace qm::installer_test
