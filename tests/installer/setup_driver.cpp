// Running the setup program and the uninstaller, and reading what they left.
#include "tests/installer/setup_driver.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

namespace qm::installer_test {
namespace {

constexpr DWORD kRunTimeoutMs = 120'000;
constexpr DWORD kNotRun = 0xDEAD;

// A Linux path as Wine's Windows programs see it (drive Z:).
std::wstring windowsPath(const char* path) {
    std::wstring out = win32::toUtf16(path);
    if (!out.empty() && out[0] == L'/') out = L"Z:" + out;
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

class Key {
public:
    Key(const std::wstring& path, REGSAM access, bool create) {
        const LONG result = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access, nullptr,
                                                       &key_, nullptr)
                                   : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key_);
        if (result != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::wstring setupProgram() { return windowsPath(QM_SETUP_PROGRAM); }
std::wstring builtDll() { return windowsPath(QM_ADDIN_DLL); }

std::wstring defaultInstallDir() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        ADD_FAILURE() << "no local application data folder";
        return {};
    }
    return std::wstring(folder) + L"\\Quillmark in Excel";
}

DWORD run(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;  // CreateProcessW may write to it
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "cannot start " << win32::toUtf8(commandLine) << ": " << win32::errorText(::GetLastError());
        return kNotRun;
    }
    ::CloseHandle(process.hThread);
    DWORD code = kNotRun;
    if (::WaitForSingleObject(process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << win32::toUtf8(commandLine) << " did not end";
        ::TerminateProcess(process.hProcess, kNotRun);
    } else {
        ::GetExitCodeProcess(process.hProcess, &code);
    }
    ::CloseHandle(process.hProcess);
    return code;
}

DWORD installSilently(const std::wstring& extra) {
    std::wstring line = L"\"" + setupProgram() + L"\" /S";
    if (!extra.empty()) line += L" " + extra;
    return run(line);
}

DWORD uninstallSilently(const std::wstring& dir, const std::wstring& options) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"qm-uninstall.exe";
    if (!::CopyFileW((dir + L"\\uninstall.exe").c_str(), copy.c_str(), FALSE)) {
        ADD_FAILURE() << "no uninstaller in " << win32::toUtf8(dir);
        return kNotRun;
    }
    // _?= takes the rest of the line, unquoted.
    std::wstring line = L"\"" + copy + L"\" /S ";
    if (!options.empty()) line += options + L" ";
    const DWORD code = run(line + L"_?=" + dir);
    ::DeleteFileW(copy.c_str());
    return code;
}

bool keyExists(const std::wstring& path) { return Key(path, KEY_READ, false).get() != nullptr; }

std::optional<std::wstring> readString(const std::wstring& path, const std::wstring& name) {
    Key key(path, KEY_READ, false);
    DWORD type = 0, size = 0;
    if (!key.get() || ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(::wcsnlen(text.c_str(), text.size()));
    return text;
}

std::optional<DWORD> readDword(const std::wstring& path, const std::wstring& name) {
    Key key(path, KEY_READ, false);
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key.get() ||
        ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

void writeString(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    Key key(path, KEY_SET_VALUE, true);
    ASSERT_TRUE(key.get()) << "cannot create " << win32::toUtf8(path);
    ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void writeDword(const std::wstring& path, const std::wstring& name, DWORD value) {
    Key key(path, KEY_SET_VALUE, true);
    ASSERT_TRUE(key.get()) << "cannot create " << win32::toUtf8(path);
    ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
}

std::vector<std::wstring> valueNames(const std::wstring& path) {
    std::vector<std::wstring> names;
    Key key(path, KEY_READ, false);
    if (!key.get()) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> readFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << win32::toUtf8(path);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::vector<std::wstring> directoryListing(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void writeSomeSettings() {
    writeString(std::wstring(kSettingsKey) + L"\\Setting", L"FitGrid", L"0");
    writeString(std::wstring(kSettingsKey) + L"\\Bar", L"Top", L"120");
}

bool settingsIntact() {
    return readString(std::wstring(kSettingsKey) + L"\\Setting", L"FitGrid") == L"0" &&
           readString(std::wstring(kSettingsKey) + L"\\Bar", L"Top") == L"120";
}

}  // namespace qm::installer_test
