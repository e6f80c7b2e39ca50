// Reading back the add-in's registration.
#include "tests/com/e2e/registry.h"

#include <objbase.h>

#include "sim/com/addin_host.h"

namespace qm::e2e {
namespace {

class Key {
public:
    Key(HKEY root, const std::wstring& path) {
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
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

std::string narrow(const std::wstring& s) { return win32::toUtf8(s); }

std::wstring lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(::towlower(c == L'/' ? L'\\' : c));
    return s;
}

void expectString(std::vector<std::string>& problems, HKEY root, const std::wstring& path, const wchar_t* value,
                  const std::wstring& want) {
    const auto found = readString(root, path, value);
    const std::string where = narrow(path) + " [" + (value ? narrow(value) : "(default)") + "]";
    if (!found) {
        problems.push_back(where + " is missing");
    } else if (*found != want) {
        problems.push_back(where + " is \"" + narrow(*found) + "\", not \"" + narrow(want) + "\"");
    }
}

}  // namespace

std::wstring clsidText() {
    wchar_t text[64] = {};
    ::StringFromGUID2(fake::kAddinClsid, text, 64);
    return text;
}

std::optional<std::wstring> readString(HKEY root, const std::wstring& path, const wchar_t* value) {
    Key key(root, path);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

std::optional<DWORD> readDword(HKEY root, const std::wstring& path, const wchar_t* value) {
    Key key(root, path);
    DWORD type = 0, data = 0, size = sizeof data;
    if (!key.get() || ::RegQueryValueExW(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                          ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return data;
}

bool keyExists(HKEY root, const std::wstring& path) { return Key(root, path).get() != nullptr; }

std::vector<std::string> registrationProblems(const std::wstring& dllPath) {
    std::vector<std::string> problems;
    const std::wstring clsid = clsidText();
    const std::wstring progIdKey = kClassesKey + L"QuillmarkInExcel.Connect";
    const std::wstring classKey = kClassesKey + L"CLSID\\" + clsid;
    expectString(problems, HKEY_CURRENT_USER, progIdKey + L"\\CLSID", nullptr, clsid);
    expectString(problems, HKEY_CURRENT_USER, classKey, nullptr, L"Quillmark in Excel");
    expectString(problems, HKEY_CURRENT_USER, classKey + L"\\ProgID", nullptr, L"QuillmarkInExcel.Connect");
    expectString(problems, HKEY_CURRENT_USER, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    // The full path of the DLL, however its separators and letters are written.
    const auto server = readString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", nullptr);
    if (!server) {
        problems.push_back("InprocServer32 has no path");
    } else if (lower(*server) != lower(dllPath)) {
        problems.push_back("InprocServer32 is \"" + narrow(*server) + "\", not \"" + narrow(dllPath) + "\"");
    }
    expectString(problems, HKEY_CURRENT_USER, kAddinsKey, L"FriendlyName", L"Quillmark in Excel");
    expectString(problems, HKEY_CURRENT_USER, kAddinsKey, L"Description", L"Quillmark in Excel\r\n");
    const auto load = readDword(HKEY_CURRENT_USER, kAddinsKey, L"LoadBehavior");
    if (load != 3u) problems.push_back("LoadBehavior is not the DWORD 3");
    // Per user only: nothing for every user of the machine.
    if (keyExists(HKEY_LOCAL_MACHINE, kClassesKey + L"CLSID\\" + clsid)) problems.push_back("the class is in HKLM");
    return problems;
}

std::vector<std::string> leftoverKeys() {
    std::vector<std::string> left;
    for (const std::wstring& path : {kClassesKey + L"QuillmarkInExcel.Connect", kClassesKey + L"CLSID\\" + clsidText(),
                                     kAddinsKey}) {
        if (keyExists(HKEY_CURRENT_USER, path)) left.push_back(narrow(path));
    }
    return left;
}

}  // namespace qm::e2e
