// The click handlers of the add-in's buttons, one per command, with the click signature
// of a command bar button. Copies and Draw-mode items route to the same handlers.
#pragma once

#include "core/addin/state.h"

namespace qm::addin {

using ClickFn = void (*)(AddinState&, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

// The handler a button's Click reaches (the routing table).
ClickFn clickHandlerOf(Btn b);

}  // namespace qm::addin
