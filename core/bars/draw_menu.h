// The Draw-mode menu bar "QM_MENU": File, Edit, View and Help, mixing the host's own
// commands (added by number) with the add-in's buttons.
#pragma once

#include "core/addin/state.h"

namespace qm::bars {

inline constexpr const char* kMenuBarName = "QM_MENU";

// Builds and shows the bar and binds its eight button variables. Host errors pass to the
// caller.
void createDrawMenuBar(addin::AddinState& s);

}  // namespace qm::bars
