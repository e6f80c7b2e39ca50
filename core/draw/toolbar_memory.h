// Memory of the add-in toolbar's place: docking position, row, coordinates and
// visibility are kept in the settings store, so the toolbar comes back where the user
// left it after Draw mode and at the next start of the host.
#pragma once

#include "core/addin/state.h"

namespace qm::draw {

// The add-in toolbar, or null when the host has none of that name.
host::CommandBarPtr findAddinBar(addin::AddinState& s);

// Stores Position, RowIndex (+1 when `raiseRow`), Left, Top and Visible, in that order.
void saveAddinBarState(addin::AddinState& s, bool raiseRow);

// Hides the toolbar, then sets RowIndex, Position, Left, Top and Visible from the store.
// A stored value that cannot be read as its type falls back to that key's default:
// one corrupt value must not stop the add-in from connecting ever again.
void restoreAddinBarState(addin::AddinState& s);

}  // namespace qm::draw
