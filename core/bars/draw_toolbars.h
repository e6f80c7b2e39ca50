// The nine Draw-mode toolbars, each built from a control list that regroups the host's
// drawing commands and mixes in the add-in's own buttons, and the host bars the user
// chose to see in Draw mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/addin/state.h"

namespace qm::bars {

// One entry of a control list: "-1:TEXT1" is own button TEXT1 beginning a group, "113"
// host control 113.
struct ListEntry {
    bool beginGroup = false;
    bool own = false;
    int32_t id = 0;      // host control number (when !own)
    std::string tag;     // upper-cased text after the first ":" (when own)
};

// Reads a control list: each entry's lenient numeric value; |v| = 1 names an own button.
std::vector<ListEntry> parseControlList(const std::string& list);

struct ToolbarDef {
    const char* name;
    int32_t caption;   // relative string
    int32_t position;
    int32_t rowOffset; // 0: not set; otherwise added to the top or bottom row found
    std::string list;
};

// The catalogue, in the order the set-up builds the bars.
const std::vector<ToolbarDef>& toolbarCatalogue();

// Names of the bars Draw mode deletes on exit, in that order.
const std::vector<std::string>& drawModeBarNames();

// Builds one toolbar. Errors while its trap is active are shown with the error message
// and abandon the rest of this bar; errors outside the trap pass to the caller.
void createDrawToolbar(addin::AddinState& s, const std::string& caption, const std::string& name,
                       const std::string& list, int32_t position, int32_t row);

// The toolbar part of the set-up: rows from the docked bars, the nine bars, the chosen bars.
void createDrawToolbars(addin::AddinState& s);

// Enables the host's colour and pattern palettes that it has, then shows the bars named in
// Setting\ShowBarArray floating, remembering how each was (position, row, visibility).
void showChosenBars(addin::AddinState& s);

}  // namespace qm::bars
