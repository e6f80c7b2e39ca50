// The string table, the loader, the language choice and the lines of a text.
#include <gtest/gtest.h>

#include "core/host/error.h"
#include "core/text/strings.h"
#include "core/text/text.h"

namespace qm::text {
namespace {

// Every relative number the add-in's windows, menus and messages use.
const int32_t kUsed[] = {0,   1,   2,   3,   40,  41,  42,  43,  44,  45,  46,  47,  48,  49,  50,
                         51,  52,  60,  61,  62,  63,  64,  65,  66,  67,  68,  70,  71,  72,  73,
                         74,  75,  76,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
                         112, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213,
                         214, 215, 216, 217, 300, 301, 302, 500, 501, 502, 505, 506, 900, 901, 902};

TEST(StringTable, EveryUsedNumberHasBothLanguagesAndNothingElseExists) {
    for (int32_t rel : kUsed) {
        ASSERT_TRUE(storedText(kJapaneseBase + rel)) << rel;
        ASSERT_TRUE(storedText(kEnglishBase + rel)) << rel;
        if (rel != 112) {
            EXPECT_FALSE(storedText(kEnglishBase + rel)->empty()) << rel;
        }
        EXPECT_FALSE(storedText(kJapaneseBase + rel)->empty()) << rel;
    }
    EXPECT_EQ(relativeNumbers().size(), std::size(kUsed));
    EXPECT_FALSE(storedText(2004));
    EXPECT_FALSE(storedText(999));
    EXPECT_FALSE(storedText(3000));
}

TEST(StringTable, ExactTextsIncludingTrailingBlanksAndJapanese) {
    EXPECT_EQ(*storedText(2000), "QM");
    EXPECT_EQ(*storedText(1000), "QM");
    EXPECT_EQ(*storedText(2001), "Goto &Draw mode");
    EXPECT_EQ(*storedText(1001), "Drawモードへ移行(&D)");
    EXPECT_EQ(*storedText(2215), "Displays in Draw mode. ");
    EXPECT_EQ(*storedText(2112), "");
    EXPECT_EQ(*storedText(1112), "°");
    EXPECT_EQ(*storedText(1901), "クイルマーク(&Q)");
    EXPECT_EQ(*storedText(2902), "&Developer's Site");
    EXPECT_EQ(*storedText(2506), "It tries to preserve one cell as a picture file. \n\nDo you continue?");
}

TEST(LoadResText, StoredLineFeedsPassAndBackslashNBecomesCrLf) {
    // No stored text contains a backslash, so the loader returns stored line feeds as they are.
    EXPECT_EQ(loadResText(2505), "The object has not been selected.\n\nWhen OK is pushed, processing is interrupted.");
    EXPECT_EQ(loadResText(1505), std::string(*storedText(1505)));
    EXPECT_EQ(loadResText(2112), "");
    EXPECT_EQ(expandLineBreaks("a\\nb\\n\\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(expandLineBreaks("a\\Nb\\"), "a\\Nb\\");  // exact case; a lone backslash stays
    EXPECT_EQ(expandLineBreaks("\\\\n"), "\\\r\n");
    try {
        loadResText(2999);
        FAIL() << "missing number must raise";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 326);
    }
}

class FixedLocale : public platform::Locale {
public:
    explicit FixedLocale(std::optional<std::string> country) : country_(std::move(country)) {}
    std::optional<std::string> userCountryName() override { return country_; }
    std::string abbreviatedMonthName(int) override { return "Jul"; }

private:
    std::optional<std::string> country_;
};

TEST(Language, JapanOnlyByExactUpperCasedCountry) {
    FixedLocale japan("Japan"), us("United States"), failed(std::nullopt), padded(std::string("Japan\0xx", 8));
    EXPECT_EQ(getOSLanguage(japan), "JAPAN");
    EXPECT_EQ(languageBaseFor(getOSLanguage(japan)), kJapaneseBase);
    EXPECT_EQ(languageBaseFor(getOSLanguage(us)), kEnglishBase);
    EXPECT_EQ(getOSLanguage(failed), "");
    EXPECT_EQ(languageBaseFor(""), kEnglishBase);
    EXPECT_EQ(getOSLanguage(padded), "JAPAN");  // cut at the first NUL
    EXPECT_EQ(languageBaseFor("JAPANESE"), kEnglishBase);
}

TEST(Language, TextPicksTheBlock) {
    EXPECT_EQ(Text(kJapaneseBase)(44), "オブジェクト一覧と順序／位置の変更(&O)");
    EXPECT_EQ(Text(kEnglishBase)(44), "&Object List");
}

TEST(Strings, EveryLineBreakEndsALineAndALastBreakLeavesAnEmptyLine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(splitLines(""), Lines{""});
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\r\n"), (Lines{"a", "", ""}));  // LF then CR LF: two breaks
}

}  // namespace
}  // namespace qm::text
