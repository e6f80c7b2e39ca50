// The user's default locale on Windows: the English country name and month names.
#pragma once

#include <optional>
#include <string>

#include "core/platform/platform.h"

namespace qm::win32 {

class Win32Locale : public platform::Locale {
public:
    // LOCALE_SENGCOUNTRY of the user default locale; nothing when the query fails.
    std::optional<std::string> userCountryName() override;
    // LOCALE_SABBREVMONTHNAME1..12 of the user default locale; empty outside 1..12.
    std::string abbreviatedMonthName(int month) override;
};

}  // namespace qm::win32
