// Lines the add-in's dialogs share: the product title, the version line and the web
// address line.
#pragma once

#include <string>

#include "core/addin/state.h"

namespace qm::dialogs {

// "Version : 1.01  Update : Jul 26, 2006", the month abbreviated as the user's locale does.
std::string versionLine(addin::AddinState& s);
// "URL : " + the developer's web site address.
std::string urlLine(addin::AddinState& s);

// Registers a window with the component's loaded windows for as long as it is loaded,
// so that disconnection can close it; meanwhile a failure of its event handlers that they
// did not deal with is shown as the add-in's error message, and the window stays usable.
class LoadedRegistration : public ui::Unloadable {
public:
    LoadedRegistration(addin::AddinState& s, ui::Form& form);
    ~LoadedRegistration() override;
    LoadedRegistration(const LoadedRegistration&) = delete;
    LoadedRegistration& operator=(const LoadedRegistration&) = delete;
    void unload() override { form_.unload(); }

private:
    ui::LoadedForms& forms_;
    ui::Form& form_;
};

}  // namespace qm::dialogs
