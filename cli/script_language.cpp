// English script texts read as the add-in's Japanese ones.
#include "cli/script_language.h"

#include "core/text/strings.h"
#include "core/text/text.h"

namespace qm::cli {

std::optional<std::string> japaneseTextOf(std::string_view english) {
    for (const int32_t relative : text::relativeNumbers()) {
        if (text::loadResText(text::kEnglishBase + relative) == english) {
            return text::loadResText(text::kJapaneseBase + relative);
        }
    }
    return std::nullopt;
}

std::string japanesePath(std::string_view path) {
    // Steps are separated by " > ", as the host's path lookup reads them.
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t sep = path.find(" > ", start);
        const std::string step(path.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
        if (!out.empty() || start > 0) out += " > ";
        out += japaneseTextOf(text::trim(step)).value_or(step);
        if (sep == std::string_view::npos) break;
        start = sep + 3;
    }
    return out;
}

}  // namespace qm::cli
