// Text metrics of the headless toolkit.
#include "core/ui/headless/metrics.h"

#include <algorithm>

#include "core/text/utf8.h"

namespace qm::ui::headless {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

double textWidthTwips(const Font& font, std::string_view text) {
    const double em = font.size * kTwipsPerPoint;
    double widest = 0;
    for (const std::string& line : splitLines(text)) {
        double width = 0;
        for (char32_t cp : qm::text::utf8::decode(line)) width += (cp < 0x80 ? kAsciiWidthEm : kOtherWidthEm) * em;
        widest = std::max(widest, width);
    }
    return widest;
}

double textHeightTwips(const Font& font, std::string_view text) {
    return static_cast<double>(splitLines(text).size()) * kLineHeightEm * font.size * kTwipsPerPoint;
}

}  // namespace qm::ui::headless
