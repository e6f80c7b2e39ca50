// The one-point advice window: pages of drawing tips, a page counter and the choice of
// showing it again on entering Draw mode.
#pragma once

#include "core/addin/state.h"

namespace qm::dialogs {

// Shows the advice modally; returns when the user closes it.
void showOnePointAdvice(addin::AddinState& s);

void onePointClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::dialogs
