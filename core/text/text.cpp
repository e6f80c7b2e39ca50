// String loading, locale query and language choice.
#include "core/text/text.h"

#include "core/host/error.h"
#include "core/text/strings.h"

namespace qm::text {

std::string loadResText(int32_t number) {
    auto stored = storedText(number);
    if (!stored) {
        throw host::HostError(326, "Resource with identifier '" + std::to_string(number) + "' not found");
    }
    return expandLineBreaks(*stored);
}

std::string expandLineBreaks(std::string_view stored) { return replaceAll(stored, "\\n", "\r\n"); }

std::string getOSLanguage(platform::Locale& locale) {
    auto country = locale.userCountryName();
    if (!country) return {};
    std::string name = *country;
    // The system returns a NUL-terminated buffer: only what precedes the first NUL counts.
    if (auto nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
    return upperAscii(name);
}

int32_t languageBaseFor(const std::string& osLanguage) {
    return osLanguage == "JAPAN" ? kJapaneseBase : kEnglishBase;
}

}  // namespace qm::text
