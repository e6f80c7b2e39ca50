// Locale queries on Windows.
#include "win32/locale.h"

#include "win32/utf.h"

namespace qm::win32 {

std::optional<std::string> Win32Locale::userCountryName() {
    char buffer[256] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, buffer, 256) == 0) return std::nullopt;
    buffer[255] = '\0';
    return ansiToUtf8(buffer);  // up to the first NUL
}

std::string Win32Locale::abbreviatedMonthName(int month) {
    if (month < 1 || month > 12) return {};
    wchar_t buffer[80] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month - 1), buffer, 80) ==
        0)
        return {};
    buffer[79] = L'\0';
    return toUtf8(buffer);
}

}  // namespace qm::win32
