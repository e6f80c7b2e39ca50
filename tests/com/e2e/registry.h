// The registry entries a per-user registration of the add-in consists of, read back and
// compared for the registration tests and for the checker run after regsvr32.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win32/utf.h"

namespace qm::e2e {

std::optional<std::wstring> readString(HKEY root, const std::wstring& path, const wchar_t* value);
std::optional<DWORD> readDword(HKEY root, const std::wstring& path, const wchar_t* value);
bool keyExists(HKEY root, const std::wstring& path);

// Every mismatch between the registry and a complete per-user registration of the DLL at
// `dllPath` (Windows form), one line each; empty when all is there.
std::vector<std::string> registrationProblems(const std::wstring& dllPath);
// Every key of the registration still present; empty when it is all gone.
std::vector<std::string> leftoverKeys();

// The add-in's class id as the registry writes it, "{C9221B4E-...}".
std::wstring clsidText();
inline const std::wstring kClassesKey = L"Software\\Classes\\";
inline const std::wstring kAddinsKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\QuillmarkInExcel.Connect";
inline const std::wstring kSettingsKey = L"Software\\VB and VBA Program Settings\\NVK_QM_ZUZEVADE";

}  // namespace qm::e2e
