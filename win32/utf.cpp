// UTF-8, UTF-16 and ANSI conversions, and Win32 error messages.
#include "win32/utf.h"

namespace qm::win32 {

namespace {

std::wstring widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    int size = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring out(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    int size = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

}  // namespace

std::wstring toUtf16(std::string_view utf8) { return widen(CP_UTF8, utf8); }
std::string toUtf8(std::wstring_view utf16) { return narrow(CP_UTF8, utf16); }
std::string utf8ToAnsi(std::string_view utf8) { return narrow(CP_ACP, widen(CP_UTF8, utf8)); }
std::string ansiToUtf8(std::string_view ansi) { return narrow(CP_UTF8, widen(CP_ACP, ansi)); }

std::string errorText(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message(buffer ? buffer : L"", length);
    if (buffer) ::LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    std::string number = "(" + std::to_string(code) + ")";
    return message.empty() ? "error " + number : toUtf8(message) + " " + number;
}

}  // namespace qm::win32
