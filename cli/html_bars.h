// Pictures of the simulated host's command bars as Excel 2000-2003 shows them: menu bars
// with their captions and open menus, toolbars with their buttons and separators, docked
// where they are or floating in their own small windows. The add-in's own faces are its
// artwork; Excel's built-in faces are Excel's, shown as a neutral tile with the face number.
#pragma once

#include <vector>

#include "cli/html_svg.h"
#include "sim/model.h"
#include "sim/sim_host.h"

namespace qm::cli::html {

// What "dump bar <name>" and "dump bars [visible]" list, as pictures: one bar (and the
// menus of its pop-up controls, opened), or the Excel window with the bars shown and,
// unless only visible ones were asked for, each hidden bar on its own.
std::vector<Picture> barPictures(const sim::SimHost& host, const sim::DumpOptions& options);

// ---------------------------------------------------------------- one bar, for the window's picture

// The height of a docked row (and the width of a vertical one).
inline constexpr double kDockRow = 26;

// A bar docked in a horizontal row `width` long, or a vertical one `length` long.
void drawDockedBar(Svg& svg, const sim::SimHost& host, const sim::BarNodePtr& bar, double x, double y, double width);
void drawVerticalBar(Svg& svg, const sim::SimHost& host, const sim::BarNodePtr& bar, double x, double y, double length);
// A floating bar in its small window; a hidden one has a grey title.
void drawFloatingBar(Svg& svg, const sim::SimHost& host, const sim::BarNodePtr& bar, double x, double y, bool shown);

}  // namespace qm::cli::html
