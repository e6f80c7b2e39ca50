// The add-in's entry points outside Draw mode: the maker menu in the worksheet menu bar
// (shared with the maker's other products) with this product's submenu and the
// developer's-site item, and the floating add-in toolbar with icon-only copies.
#pragma once

#include "core/addin/state.h"

namespace qm::bars {

inline constexpr const char* kMakerTag = "NVK";
inline constexpr const char* kProductTag = "QM";
inline constexpr const char* kSiteTag = "NVK_SITE";

// Builds everything and binds the eleven button variables. Only the first search and the
// removal of an old developer's-site item ignore host errors; any other failure is
// passed to the caller. `createdMaker` receives the maker menu when this call added it.
void createAddinMenu(addin::AddinState& s, host::CommandBarControlPtr& createdMaker);

// After a failed connection: what deleteAddinMenu removes, and the maker menu this
// connection added if nothing is left in it (it may not even carry its tag yet).
void removeAfterFailedConnection(addin::AddinState& s, const host::CommandBarControlPtr& createdMaker) noexcept;

// Removes the add-in toolbar, this product's submenu and, when only the developer's-site
// item is left, the maker menu. Never reports an error.
void deleteAddinMenu(addin::AddinState& s) noexcept;

}  // namespace qm::bars
