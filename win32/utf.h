// Text at the Win32 boundary: UTF-8 (the add-in's strings) to and from UTF-16 (the W
// functions) and the ANSI code page (the A functions), and the text of a Win32 error.
// Every win32/ file takes <windows.h> through this header.
#pragma once

#include <windows.h>

// <windows.h> renames MessageBox to MessageBoxW, which would rename the add-in's own
// platform::MessageBox interface in every file that sees both.
#undef MessageBox

#include <string>
#include <string_view>

namespace qm::win32 {

// Invalid input turns into U+FFFD rather than failing.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

// For the A functions: characters the ANSI code page lacks become its default character.
std::string utf8ToAnsi(std::string_view utf8);
std::string ansiToUtf8(std::string_view ansi);

// The system's message for a Win32 error code, without the trailing line break, followed
// by the code ("Access is denied. (5)").
std::string errorText(DWORD code);

}  // namespace qm::win32
