// Text metrics of the headless toolkit.
#include "core/ui/headless/metrics.h"

#include <algorithm>

#include "core/text/strings.h"
#include "core/text/utf8.h"

namespace qm::ui::headless {

double textWidthTwips(const Font& font, std::string_view text) {
    const double em = font.size * kTwipsPerPoint;
    double widest = 0;
    for (const std::string& line : text::splitLines(text)) {
        double width = 0;
        for (char32_t cp : qm::text::utf8::decode(line)) width += (cp < 0x80 ? kAsciiWidthEm : kOtherWidthEm) * em;
        widest = std::max(widest, width);
    }
    return widest;
}

double textHeightTwips(const Font& font, std::string_view text) {
    return static_cast<double>(text::splitLines(text).size()) * kLineHeightEm * font.size * kTwipsPerPoint;
}

}  // namespace qm::ui::headless
