// Shared dialog lines.
#include "core/dialogs/common.h"

#include "core/addin/errors.h"
#include "core/text/number.h"

namespace qm::dialogs {

std::string versionLine(addin::AddinState& s) {
    const addin::Config& c = s.config;
    return "Version : " + std::to_string(c.versionMajor) + "." + text::zeroPadded(c.versionMinor, 2) +
           "  Update : " + s.os.locale.abbreviatedMonthName(c.releaseMonth) + " " + std::to_string(c.releaseDay) +
           ", " + std::to_string(c.releaseYear);
}

std::string urlLine(addin::AddinState& s) { return "URL : " + s.config.developerSiteUrl; }

LoadedRegistration::LoadedRegistration(addin::AddinState& s, ui::Form& form) : forms_(s.forms), form_(form) {
    forms_.add(this);
    // Only the add-in's own failures are shown; anything else passes on.
    form_.onError = [&s](std::exception_ptr failure) {
        if (auto e = addin::captureError([&] { std::rethrow_exception(failure); })) s.showError(*e);
    };
}

LoadedRegistration::~LoadedRegistration() {
    forms_.remove(this);
    form_.onError = nullptr;
}

}  // namespace qm::dialogs
