// The user's locale on Linux, taken from the environment the way a Linux user sets it
// (LC_ALL, LC_MESSAGES, LANG), standing in for Windows' user default locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/platform.h"
#include "posix/environment.h"

namespace qm::posix {

// The parts of a locale name "language[_TERRITORY][.codeset][@modifier]".
struct LocaleName {
    std::string language;   // "ja"
    std::string territory;  // "JP", upper case; empty when absent or not a two-letter code
};
LocaleName parseLocaleName(std::string_view name);

// The English short name of an ISO 3166 two-letter country code ("JP" -> "Japan").
std::optional<std::string> englishCountryName(std::string_view code);

class PosixLocale : public platform::Locale {
public:
    explicit PosixLocale(Environment env = processEnvironment) : env_(std::move(env)) {}

    // The first of LC_ALL, LC_MESSAGES and LANG that is set; "C" when none is.
    std::string localeName() const;

    // Nothing for "C", "POSIX", a name without a territory or an unknown code.
    std::optional<std::string> userCountryName() override;
    // "Jan".."Dec"; in Japanese the month's number ("7"), as Windows' Japanese locale
    // abbreviates months. Empty outside 1..12.
    std::string abbreviatedMonthName(int month) override;

private:
    Environment env_;
};

}  // namespace qm::posix
