// The Linux locale: locale names to country names, which variable wins, month names.
#include <gtest/gtest.h>

#include <map>

#include "posix/locale.h"

namespace qm::posix {
namespace {

PosixLocale localeWith(std::map<std::string, std::string> vars) {
    return PosixLocale([vars = std::move(vars)](const std::string& name) -> std::optional<std::string> {
        auto it = vars.find(name);
        return it == vars.end() || it->second.empty() ? std::nullopt : std::optional(it->second);
    });
}

TEST(PosixLocale, CountryOfLocaleName) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"ja_JP.UTF-8", "Japan"},   {"en_US.UTF-8", "United States"}, {"en_GB", "United Kingdom"},
        {"de_DE@euro", "Germany"},  {"sr_RS.UTF-8@latin", "Serbia"},  {"ja_jp.eucjp", "Japan"},
        {"zh_TW.Big5", "Taiwan"},   {"C", std::nullopt},              {"POSIX", std::nullopt},
        {"C.UTF-8", std::nullopt},  {"ja", std::nullopt},             {"es_419.UTF-8", std::nullopt},
        {"xx_QQ", std::nullopt},    {"en_", std::nullopt},
    };
    for (const auto& [name, country] : cases) EXPECT_EQ(localeWith({{"LANG", name}}).userCountryName(), country) << name;
}

TEST(PosixLocale, LcAllThenLcMessagesThenLang) {
    EXPECT_EQ(localeWith({{"LC_ALL", "fr_FR"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}}).userCountryName(), "France");
    EXPECT_EQ(localeWith({{"LC_ALL", ""}, {"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}}).userCountryName(), "Germany");
    EXPECT_EQ(localeWith({{"LANG", "ja_JP"}, {"LC_TIME", "en_US"}}).userCountryName(), "Japan");
    EXPECT_EQ(localeWith({}).userCountryName(), std::nullopt);
}

TEST(PosixLocale, MonthAbbreviations) {
    PosixLocale english = localeWith({{"LANG", "en_GB.UTF-8"}}), plain = localeWith({});
    PosixLocale japanese = localeWith({{"LC_ALL", "ja_JP.UTF-8"}});
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(english.abbreviatedMonthName(m), months[m - 1]);
        EXPECT_EQ(plain.abbreviatedMonthName(m), months[m - 1]);
        EXPECT_EQ(japanese.abbreviatedMonthName(m), std::to_string(m));
    }
    EXPECT_EQ(english.abbreviatedMonthName(0), "");
    EXPECT_EQ(japanese.abbreviatedMonthName(13), "");
}

}  // namespace
}  // namespace qm::posix
