// The add-in's entry points outside Draw mode: the maker menu in the worksheet menu bar
// (shared with the maker's other products) with this product's submenu and the
// developer's-site item, and the floating add-in toolbar with icon-only copies.
#pragma once

#include "core/addin/state.h"

namespace qm::bars {

inline constexpr const char* kMakerTag = "NVK";
inline constexpr const char* kProductTag = "QM";
inline constexpr const char* kSiteTag = "NVK_SITE";

// What one connection made, held by reference so that a failed connection takes down
// exactly that and nothing of the same name or tag that belongs to someone else.
struct AddinMenuBuild {
    host::CommandBarControlPtr maker;    // the maker menu, when this connection added it
    host::CommandBarControlPtr product;  // the product submenu
    host::CommandBarControlPtr site;     // the developer's-site item
    host::CommandBarPtr toolbar;         // the add-in toolbar
    // Another product's developer's-site item, replaced by this connection's own: it goes
    // only once the connection has succeeded, so a failed one never has to put it back.
    host::CommandBarControlPtr oldSite;
};

// Builds everything and binds the eleven button variables, noting each element in `built`
// as it is made. Only the first search and the search for an old developer's-site item
// ignore host errors; any other failure is passed to the caller.
void createAddinMenu(addin::AddinState& s, AddinMenuBuild& built);

// The connection succeeded: the other product's developer's-site item goes, leaving one.
void removeOldSiteItem(AddinMenuBuild& built) noexcept;

// After a failed connection: removes what `built` holds, each on its own; the maker menu
// when this connection added it (with everything in it), otherwise this product's submenu
// and site item.
void removeAfterFailedConnection(const AddinMenuBuild& built) noexcept;

// Removes the add-in toolbar, this product's submenu and, when only the developer's-site
// item is left, the maker menu. Never reports an error.
void deleteAddinMenu(addin::AddinState& s) noexcept;

}  // namespace qm::bars
