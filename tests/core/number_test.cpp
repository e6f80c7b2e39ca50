// The three conversions of stored text and the number formats.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>

#include "core/host/error.h"
#include "core/text/number.h"

namespace qm::text {
namespace {

int32_t errorOf(auto&& f) {
    try {
        f();
    } catch (const host::HostError& e) {
        return e.number();
    }
    return 0;
}

TEST(Val, LenientPrefixReading) {
    EXPECT_EQ(val("1.0"), 1.0);
    EXPECT_EQ(val("  12.34 cm"), 12.34);
    EXPECT_EQ(val("-1:TEXT1"), -1.0);
    EXPECT_EQ(val("1:text3"), 1.0);
    EXPECT_EQ(val("2179"), 2179.0);
    EXPECT_EQ(val("abc"), 0.0);
    EXPECT_EQ(val(""), 0.0);
    EXPECT_EQ(val("-"), 0.0);
    EXPECT_EQ(val(".5"), 0.5);
    EXPECT_EQ(val("3."), 3.0);
    EXPECT_EQ(val("1e3x"), 1000.0);
    EXPECT_EQ(val("2e"), 2.0);  // a lone exponent letter ends the number
    EXPECT_EQ(val("&HFF"), 255.0);
    EXPECT_EQ(val("&HFFFFFF"), 16777215.0);
    EXPECT_EQ(val("&HFFFF"), -1.0);  // four hex digits are a 16-bit value
    EXPECT_EQ(val("&Hxyz"), 0.0);
    EXPECT_EQ(val("1,5"), 1.0);  // only a period separates decimals
}

TEST(Val, TooLargeIsOverflowOrNothingWhenTried) {
    EXPECT_EQ(errorOf([] { val("1e999"); }), host::err::kOverflow);
    EXPECT_EQ(tryVal("1e999"), std::nullopt);
    EXPECT_EQ(tryVal(std::string(400, '9')), std::nullopt);
    EXPECT_EQ(tryVal("&H100000000"), std::nullopt);
    EXPECT_EQ(tryVal(" 254.99 cm"), 254.99);
    EXPECT_EQ(tryVal("x"), 0.0);  // no number is 0, as Val reads it
}

TEST(ToLong, StrictIntegerWithHexAndBankersRounding) {
    EXPECT_EQ(toLong("16777215"), 16777215);
    EXPECT_EQ(toLong("&HFFFFFF"), 16777215);
    EXPECT_EQ(toLong("&hff"), 255);
    EXPECT_EQ(toLong(" -42 "), -42);
    EXPECT_EQ(toLong("2.5"), 2);
    EXPECT_EQ(toLong("3.5"), 4);
    EXPECT_EQ(toLong("-2.5"), -2);
    EXPECT_EQ(toLong("&HFFFFFFFF"), -1);
    EXPECT_EQ(errorOf([] { toLong("abc"); }), host::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { toLong(""); }), host::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { toLong("12 px"); }), host::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { toLong("True"); }), host::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { toLong("3000000000"); }), host::err::kOverflow);
    EXPECT_EQ(errorOf([] { toLong("&H100000000"); }), host::err::kOverflow);
}

TEST(ToBool, WordsAnyCaseOrNumbers) {
    EXPECT_TRUE(toBool("True"));
    EXPECT_TRUE(toBool("TRUE"));
    EXPECT_FALSE(toBool("false"));
    EXPECT_FALSE(toBool("0"));
    EXPECT_TRUE(toBool("-1"));
    EXPECT_TRUE(toBool("0.5"));
    EXPECT_EQ(errorOf([] { toBool("yes"); }), host::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { toBool(""); }), host::err::kTypeMismatch);
}

TEST(Formats, ShortestFixedAndPadded) {
    EXPECT_EQ(shortestText(1.0), "1");
    EXPECT_EQ(shortestText(2.5), "2.5");
    EXPECT_EQ(shortestText(1.5), "1.5");
    EXPECT_EQ(shortestText(254.9), "254.9");
    EXPECT_EQ(shortestText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(shortestText(-0.0), "0");
    EXPECT_EQ(fixedText(3.456, 2), "3.46");
    EXPECT_EQ(fixedText(5.08, 2), "5.08");
    EXPECT_EQ(fixedText(359.6, 0), "360");
    EXPECT_EQ(fixedText(-0.001, 2), "0.00");
    EXPECT_EQ(fixedText(1.0, 1), "1.0");
    EXPECT_EQ(zeroPadded(7, 5), "00007");
    EXPECT_EQ(zeroPadded(12, 3), "012");
    EXPECT_EQ(zeroPadded(123456, 5), "123456");
    EXPECT_EQ(roundToLong(-0.5), 0);
    EXPECT_EQ(errorOf([] { roundToLong(std::nan("")); }), host::err::kOverflow);
}

// A program whose global locale writes decimals with a comma (as a German or French
// system does) still stores and reads grid sizes with a point.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(Formats, DecimalPointWhateverTheLocale) {
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    const char* cBefore = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = cBefore ? cBefore : "C";
    // A comma-decimal C locale where the system has one; the stream locale above in any case.
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German"}) {
        if (std::setlocale(LC_NUMERIC, name)) break;
    }
    EXPECT_EQ(shortestText(1.5), "1.5");
    EXPECT_EQ(fixedText(2.25, 1), "2.2");
    EXPECT_EQ(val("1.5"), 1.5);
    EXPECT_EQ(val("1,5"), 1.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
    std::locale::global(before);
}

}  // namespace
}  // namespace qm::text
