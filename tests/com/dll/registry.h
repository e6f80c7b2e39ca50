// Registry reads and writes for the registration tests and the regsvr32 checker.
#pragma once

#include <optional>
#include <string>

#include "win32/settings_registry.h"

namespace qm::com::test {

inline bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// A REG_SZ value; nothing when absent or of another type.
inline std::optional<std::wstring> readString(HKEY root, const std::wstring& path, const std::wstring& name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    win32::UniqueHkey owner(key);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(buffer);
}

inline std::optional<DWORD> readDword(HKEY root, const std::wstring& path, const std::wstring& name) {
    DWORD value = 0, size = sizeof value, type = 0;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    win32::UniqueHkey owner(key);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

inline bool writeString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    win32::UniqueHkey owner(key);
    return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Deletes a key without subkeys.
inline void deleteKey(HKEY root, const std::wstring& path) { ::RegDeleteKeyW(root, path.c_str()); }

inline void deleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, name.c_str());
    ::RegCloseKey(key);
}

// Deletes a key that holds neither values nor subkeys (one a test made and emptied).
inline void deleteKeyIfEmpty(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD subkeys = 1, values = 1;
    LONG result = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                     nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    if (result == ERROR_SUCCESS && subkeys == 0 && values == 0) ::RegDeleteKeyW(root, path.c_str());
}

// A value of the user's own settings that unregistration must leave alone; the add-in
// itself never uses this name.
inline const std::wstring kSettingsApp = L"Software\\VB and VBA Program Settings\\NVK_QM_ZUZEVADE";
inline const std::wstring kSettingsSection = kSettingsApp + L"\\Setting";
inline const std::wstring kSettingsMarker = L"RegistrationTestMarker";

inline void removeSettingsMarker() {
    deleteValue(HKEY_CURRENT_USER, kSettingsSection, kSettingsMarker);
    deleteKeyIfEmpty(HKEY_CURRENT_USER, kSettingsSection);
    deleteKeyIfEmpty(HKEY_CURRENT_USER, kSettingsApp);
}

}  // namespace qm::com::test
