// A picture of the whole Excel window as the simulated host would show it: the title bar,
// the docked rows of bars (empty rows take no room, as in Excel), the formula bar when it
// is displayed, the active sheet with its cells, background and drawing objects, the sheet
// tabs, the status bar, and the floating bars where they are.
#pragma once

#include "cli/html_svg.h"
#include "sim/sim_host.h"

namespace qm::cli::html {

Picture screenPicture(const sim::SimHost& host);

}  // namespace qm::cli::html
