// Settings in the registry.
#include "win32/settings_registry.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace qm::win32 {

namespace {

// A value as it is stored: its type and its bytes.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> queryValue(HKEY key, const std::wstring& name) {
    RawValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Another process may make the value larger between two calls: then ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        value.bytes.resize(size + sizeof(wchar_t));  // room for a terminator the writer left out
        DWORD got = static_cast<DWORD>(value.bytes.size());
        LONG result = ::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &got);
        if (result == ERROR_SUCCESS) {
            value.bytes.resize(got);
            return value;
        }
        if (result != ERROR_MORE_DATA) return std::nullopt;
        size = got;
    }
    return std::nullopt;
}

// A registry string need not end in a NUL, and may hold several: the text is up to the first.
std::string stringText(const std::vector<BYTE>& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return toUtf8(text);
}

std::optional<std::string> textOf(const RawValue& value) {
    switch (value.type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return stringText(value.bytes);
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: {
            if (value.bytes.size() != 4) return std::nullopt;
            uint32_t number = 0;
            for (int i = 0; i < 4; ++i) {
                int at = value.type == REG_DWORD ? 3 - i : i;
                number = (number << 8) | value.bytes[static_cast<size_t>(at)];
            }
            // A Long, as the settings' numbers are.
            return std::to_string(static_cast<int32_t>(number));
        }
        case REG_QWORD: {
            if (value.bytes.size() != 8) return std::nullopt;
            uint64_t number = 0;
            for (int i = 7; i >= 0; --i) number = (number << 8) | value.bytes[static_cast<size_t>(i)];
            return std::to_string(static_cast<int64_t>(number));
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

std::wstring RegistrySettingsStore::keyPath(const std::string& app, const std::string& section) {
    return L"Software\\VB and VBA Program Settings\\" + toUtf16(app) + L"\\" + toUtf16(section);
}

std::optional<std::string> RegistrySettingsStore::read(const std::string& app, const std::string& section,
                                                       const std::string& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS)
        return std::nullopt;
    UniqueHkey owner(opened);
    std::optional<RawValue> value = queryValue(opened, toUtf16(key));
    if (!value) return std::nullopt;
    return textOf(*value);
}

platform::PlatformError RegistrySettingsStore::writeFailure(const std::string& app, const std::string& section,
                                                           const std::string& key, LONG result) {
    return platform::PlatformError("cannot save the setting HKEY_CURRENT_USER\\" + toUtf8(keyPath(app, section)) + "\\" +
                                   key + ": " + errorText(static_cast<DWORD>(result)));
}

void RegistrySettingsStore::write(const std::string& app, const std::string& section, const std::string& key,
                                  const std::string& value) {
    const std::wstring path = keyPath(app, section);
    auto fail = [&](LONG result) { return writeFailure(app, section, key, result); };
    HKEY created = nullptr;
    LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, &created, nullptr);
    if (result != ERROR_SUCCESS) throw fail(result);
    UniqueHkey owner(created);
    const std::wstring text = toUtf16(value);
    result = ::RegSetValueExW(created, toUtf16(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (result != ERROR_SUCCESS) throw fail(result);
}

}  // namespace qm::win32
