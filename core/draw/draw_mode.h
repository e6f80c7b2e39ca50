// Entering and leaving Draw mode: the host's own bars are put out of use and the add-in's
// menu bar and toolbars shown; leaving puts everything back as it was found.
#pragma once

#include "core/addin/state.h"

namespace qm::draw {

// Toggles Draw mode by the clicked control's state (down: leave).
void modeClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
// The File menu's exit item: the menu item QM_BUTTON_Mode's state decides.
void exitQMModeClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

// The set-up after the mode is marked on. Host errors pass to the caller.
void drawModeSetup(addin::AddinState& s);
// The exit sequence. Reports its own failure with the error message; never throws.
void exitDrawModeBars(addin::AddinState& s) noexcept;

}  // namespace qm::draw
