// Memory of the add-in toolbar's place: docking position, row, coordinates and
// visibility are kept in the settings store, so the toolbar comes back where the user
// left it after Draw mode and at the next start of the host.
#pragma once

#include <optional>

#include "core/addin/state.h"

namespace qm::draw {

// The add-in toolbar, or null when the host has none of that name.
host::CommandBarPtr findAddinBar(addin::AddinState& s);

// Reads Position, RowIndex (+1 when `raiseRow`), Left, Top and Visible and stores them in
// that order. A value the store cannot take is skipped: a full disk or a locked store must
// not stop Draw mode or the disconnection. Returns the place read; nothing when there is
// no toolbar. A host failure while reading passes to the caller, before anything is stored.
std::optional<addin::BarPlace> saveAddinBarState(addin::AddinState& s, bool raiseRow);

// Hides the toolbar, then sets RowIndex, Position, Left, Top and Visible from the store.
// A stored value that cannot be read as its type, or that the host refuses, falls back to
// that key's default: one corrupt value must not stop the add-in from connecting ever
// again, and the next save stores the toolbar's sound place.
void restoreAddinBarState(addin::AddinState& s);

// The same with a place held in memory (what entry stored, even where the store failed).
void restoreAddinBarPlace(addin::AddinState& s, const addin::BarPlace& place);

}  // namespace qm::draw
