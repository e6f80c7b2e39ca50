// The Windows user locale, run twice by CTest: under a Japanese and a US English locale
// (QM_EXPECT_JAPANESE tells which build this is).
#include <gtest/gtest.h>

#include "win32/locale.h"

namespace qm::win32 {
namespace {

#if QM_EXPECT_JAPANESE

TEST(Win32Locale, JapaneseUserLocale) {
    Win32Locale locale;
    EXPECT_EQ(locale.userCountryName(), "Japan");
    // Windows XP gives the number alone, later versions the number and 月; either comes
    // through as UTF-8.
    for (int m = 1; m <= 12; ++m) {
        const std::string month = locale.abbreviatedMonthName(m);
        EXPECT_TRUE(month == std::to_string(m) || month == std::to_string(m) + "月") << m << ": " << month;
    }
}

#else

TEST(Win32Locale, UnitedStatesUserLocale) {
    Win32Locale locale;
    EXPECT_EQ(locale.userCountryName(), "United States");
    EXPECT_EQ(locale.abbreviatedMonthName(1), "Jan");
    EXPECT_EQ(locale.abbreviatedMonthName(7), "Jul");
    EXPECT_EQ(locale.abbreviatedMonthName(12), "Dec");
}

#endif

TEST(Win32Locale, MonthOutsideTheYearIsEmpty) {
    Win32Locale locale;
    EXPECT_EQ(locale.abbreviatedMonthName(0), "");
    EXPECT_EQ(locale.abbreviatedMonthName(13), "");
}

}  // namespace
}  // namespace qm::win32
