// Per-user registration.
#include "com/registration.h"

#include <cwchar>

#include "com/identity.h"
#include "win32/settings_registry.h"

namespace qm::com {

namespace {

std::wstring progIdKey() { return std::wstring(L"Software\\Classes\\") + kProgId; }
std::wstring classKey() { return std::wstring(L"Software\\Classes\\CLSID\\") + kConnectClsidText; }
std::wstring excelAddinKey() { return std::wstring(L"Software\\Microsoft\\Office\\Excel\\Addins\\") + kProgId; }

LONG writeValue(const RegistryValue& value) {
    HKEY created = nullptr;
    LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, value.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, &created, nullptr);
    if (result != ERROR_SUCCESS) return result;
    win32::UniqueHkey key(created);
    if (value.type == REG_DWORD) {
        return ::RegSetValueExW(created, value.name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&value.number), sizeof value.number);
    }
    return ::RegSetValueExW(created, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.text.c_str()),
                            static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
}

// Deletes `path` below `parent` with all its subkeys (RegDeleteKey removes only leaves,
// and RegDeleteTree is newer than Windows XP).
LONG deleteTree(HKEY parent, const std::wstring& path) {
    HKEY opened = nullptr;
    LONG result = ::RegOpenKeyExW(parent, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, &opened);
    if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS) return result;
    {
        win32::UniqueHkey key(opened);
        wchar_t name[256];
        for (;;) {
            DWORD length = 256;
            // Always the first: each one found is gone before the next look.
            result = ::RegEnumKeyExW(opened, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS) break;
            if (result != ERROR_SUCCESS) return result;
            if ((result = deleteTree(opened, name)) != ERROR_SUCCESS) return result;
        }
    }
    result = ::RegDeleteKeyW(parent, path.c_str());
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

bool isUser(const wchar_t* commandLine) {
    return !commandLine || commandLine[0] == L'\0' || ::_wcsicmp(commandLine, L"user") == 0;
}

}  // namespace

std::vector<RegistryValue> registrationValues(const std::wstring& modulePath) {
    const std::wstring progIdPath = progIdKey(), classPath = classKey(), excelPath = excelAddinKey();
    return {
        {progIdPath + L"\\CLSID", L"", REG_SZ, kConnectClsidText},
        {classPath, L"", REG_SZ, kProductName},
        {classPath + L"\\InprocServer32", L"", REG_SZ, modulePath},
        {classPath + L"\\InprocServer32", L"ThreadingModel", REG_SZ, L"Apartment"},
        {classPath + L"\\ProgID", L"", REG_SZ, kProgId},
        {excelPath, L"FriendlyName", REG_SZ, kProductName},
        // The line break is part of the description Excel's COM Add-Ins dialog shows.
        {excelPath, L"Description", REG_SZ, std::wstring(kProductName) + L"\r\n"},
        // Loaded at start-up, and now.
        {excelPath, L"LoadBehavior", REG_DWORD, L"", 3},
    };
}

std::vector<std::wstring> registrationKeys() { return {progIdKey(), classKey(), excelAddinKey()}; }

std::wstring thisModulePath() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&thisModulePath), &module))
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        // On Windows XP a truncated name is not terminated and the error is not set.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT registerServer(const std::wstring& modulePath) noexcept {
    try {
        if (modulePath.empty()) return E_UNEXPECTED;
        for (const RegistryValue& value : registrationValues(modulePath)) {
            LONG result = writeValue(value);
            if (result != ERROR_SUCCESS) {
                unregisterServer();
                return HRESULT_FROM_WIN32(static_cast<DWORD>(result));
            }
        }
        return S_OK;
    } catch (...) {
        unregisterServer();
        return E_OUTOFMEMORY;  // the only failure a vector of strings has
    }
}

HRESULT unregisterServer() noexcept {
    try {
        HRESULT first = S_OK;
        for (const std::wstring& key : registrationKeys()) {
            LONG result = deleteTree(HKEY_CURRENT_USER, key);
            if (result != ERROR_SUCCESS && SUCCEEDED(first)) first = HRESULT_FROM_WIN32(static_cast<DWORD>(result));
        }
        return first;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT install(bool install, const wchar_t* commandLine) noexcept {
    if (!isUser(commandLine)) return E_INVALIDARG;
    if (!install) return unregisterServer();
    try {
        return registerServer(thisModulePath());
    } catch (...) {
        return E_OUTOFMEMORY;  // the module's path could not be held
    }
}

}  // namespace qm::com
