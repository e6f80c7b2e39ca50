// Command handlers that open the add-in's windows and web pages.
#pragma once

#include "core/addin/state.h"

namespace qm::draw {

// Opens the developer's web site / the online help page through the shell. No host-ready
// test; the shell's result is ignored.
void developerSiteClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void helpClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::draw
