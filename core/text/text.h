// Localised text: the string table lookup, the loader that turns "\" "n" into CR LF,
// the locale query and the language choice made once per connection.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/platform.h"

namespace qm::text {

inline constexpr int32_t kJapaneseBase = 1000;
inline constexpr int32_t kEnglishBase = 2000;

// The stored text of an absolute string number (1000-1999 Japanese, 2000-2999
// English), or nothing when the table has no such number.
std::optional<std::string_view> storedText(int32_t number);

// Relative numbers present in the table, ascending.
std::vector<int32_t> relativeNumbers();

// Every two-character sequence backslash + "n" replaced by CR LF, left to right, exact case.
std::string expandLineBreaks(std::string_view stored);

// The text of an absolute number with every backslash + "n" replaced by CR LF. A number
// without text raises host error 326 ("Resource with identifier ... not found").
std::string loadResText(int32_t number);

// The English country name of the user's locale in upper case, or "" when the query fails.
std::string getOSLanguage(platform::Locale& locale);

// 1000 exactly when the OS language is "JAPAN", otherwise 2000.
int32_t languageBaseFor(const std::string& osLanguage);

// Caption access by relative number for one chosen language.
class Text {
public:
    explicit Text(int32_t languageBase = kEnglishBase) : base_(languageBase) {}
    int32_t base() const { return base_; }
    bool japanese() const { return base_ == kJapaneseBase; }
    // loadResText(base + relative).
    std::string operator()(int32_t relative) const { return loadResText(base_ + relative); }

private:
    int32_t base_;
};

}  // namespace qm::text
