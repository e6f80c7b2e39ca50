// Capturing the machine outside this user's hive and profile.
#include "tests/installer/machine_state.h"

#include "win32/utf.h"

#include <sddl.h>

#include <algorithm>
#include <cwctype>

namespace qm::installer_test {
namespace {

constexpr int kMaxDepth = 64;

std::wstring hex(const BYTE* bytes, DWORD size) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    out.reserve(size * 2);
    for (DWORD i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::wstring lower(std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return s;
}

void captureKey(HKEY parent, const std::wstring& path, const std::wstring& name, int depth,
                std::map<std::wstring, std::wstring>& out) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out[name] = L"key";
    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxValueName = 0, maxValue = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values, &maxValueName, &maxValue,
                       nullptr, nullptr);
    std::wstring valueName(maxValueName + 2, L'\0');
    std::vector<BYTE> data(maxValue + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLength = static_cast<DWORD>(valueName.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (::RegEnumValueW(key, i, valueName.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            continue;
        out[name + L" > " + valueName.substr(0, nameLength)] = std::to_wstring(type) + L":" + hex(data.data(), size);
    }
    if (depth < kMaxDepth) {
        std::wstring subkey(maxSubkey + 2, L'\0');
        for (DWORD i = 0; i < subkeys; ++i) {
            DWORD length = static_cast<DWORD>(subkey.size());
            if (::RegEnumKeyExW(key, i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                continue;
            const std::wstring child = subkey.substr(0, length);
            captureKey(key, child, name + L"\\" + child, depth + 1, out);
        }
    }
    ::RegCloseKey(key);
}

// The string form of this user's SID: the name of this user's hive under HKEY_USERS.
std::wstring currentUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    std::vector<BYTE> buffer(512);
    DWORD size = 0;
    std::wstring sid;
    if (::GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        wchar_t* text = nullptr;
        if (::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
            sid = text;
            ::LocalFree(text);
        }
    }
    ::CloseHandle(token);
    return sid;
}

void captureFiles(const std::wstring& dir, const std::wstring& skipped, int depth,
                  std::map<std::wstring, std::wstring>& out) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = dir + L"\\" + name;
        if (lower(path) == skipped) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[path] = L"folder";
            if (depth < kMaxDepth && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                captureFiles(path, skipped, depth + 1, out);
        } else {
            const ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            const ULONGLONG written =
                (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
            out[path] = std::to_wstring(size) + L" bytes, written " + std::to_wstring(written);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace

MachineState captureMachineState() {
    MachineState state;
    captureKey(HKEY_LOCAL_MACHINE, L"", L"HKLM", 0, state.registry);

    // Every hive under HKEY_USERS but this user's own (and its classes).
    const std::wstring sid = currentUserSid();
    HKEY users = HKEY_USERS;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(users, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::wstring hive(name, length);
        if (!sid.empty() && hive.rfind(sid, 0) == 0) continue;
        captureKey(users, hive, L"HKU\\" + hive, 0, state.registry);
    }

    wchar_t profile[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    captureFiles(L"C:", lower(profile), 0, state.files);
    return state;
}

std::vector<std::string> differences(const MachineState& before, const MachineState& after) {
    std::vector<std::string> lines;
    auto compare = [&](const std::map<std::wstring, std::wstring>& a, const std::map<std::wstring, std::wstring>& b) {
        for (const auto& [name, value] : a) {
            auto other = b.find(name);
            if (other == b.end())
                lines.push_back("removed: " + win32::toUtf8(name));
            else if (other->second != value)
                lines.push_back("changed: " + win32::toUtf8(name));
        }
        for (const auto& [name, value] : b) {
            if (!a.count(name)) lines.push_back("added: " + win32::toUtf8(name));
        }
    };
    compare(before.registry, after.registry);
    compare(before.files, after.files);
    return lines;
}

}  // namespace qm::installer_test
