// Shared dialog lines.
#include "core/dialogs/common.h"

#include "core/text/number.h"

namespace qm::dialogs {

std::string versionLine(addin::AddinState& s) {
    const addin::Config& c = s.config;
    return "Version : " + std::to_string(c.versionMajor) + "." + text::zeroPadded(c.versionMinor, 2) +
           "  Update : " + s.os.locale.abbreviatedMonthName(c.releaseMonth) + " " + std::to_string(c.releaseDay) +
           ", " + std::to_string(c.releaseYear);
}

std::string urlLine(addin::AddinState& s) { return "URL : " + s.config.developerSiteUrl; }

}  // namespace qm::dialogs
