// Per-user registration of the add-in: the COM class under HKCU\Software\Classes and the
// Excel add-in entry that makes Excel load it at start-up. Never HKLM: the installer runs
// without administrator rights. Unregistration removes exactly what registration wrote
// and leaves the user's settings alone.
#pragma once

#include <string>
#include <vector>

#include "win32/utf.h"

namespace qm::com {

// One value written under HKEY_CURRENT_USER. An empty name is the key's default value.
struct RegistryValue {
    std::wstring key;
    std::wstring name;
    DWORD type = REG_SZ;
    std::wstring text;  // REG_SZ
    DWORD number = 0;   // REG_DWORD
};

// What registration writes for the DLL at `modulePath`, in the order it is written.
std::vector<RegistryValue> registrationValues(const std::wstring& modulePath);

// The keys registration creates, relative to HKEY_CURRENT_USER; unregistration deletes
// each with everything below it. Their parents are shared with other programs and stay.
std::vector<std::wstring> registrationKeys();

// The full path of the module (DLL) containing this code.
std::wstring thisModulePath();

// Writes every value; on failure removes what it wrote and returns the error.
HRESULT registerServer(const std::wstring& modulePath) noexcept;
// Removes the keys; keys already absent are not an error.
HRESULT unregisterServer() noexcept;

// DllInstall's command line: empty or "user" (any case) means this user, which is the
// only kind of registration there is; anything else is E_INVALIDARG.
HRESULT install(bool install, const wchar_t* commandLine) noexcept;

}  // namespace qm::com
