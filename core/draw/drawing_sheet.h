// The drawing sheet: a new worksheet whose small, equal cells form a snapping grid and
// which may carry a solid background colour; the Grid View and Back-color commands; the
// temporary colour bitmap behind a background.
#pragma once

#include <cstdint>
#include <string>

#include "core/addin/state.h"

namespace qm::draw {

// Adds the sheet after the last one (the host makes it active), names it DRAW, DRAW(1),
// DRAW(2) ..., sets the grid from the settings and, when BackColor is 1, the background.
void createDrawingSheet(addin::AddinState& s);

void gridViewClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
// Presses the Grid View button when the active window shows gridlines (Draw mode only).
void syncGridViewButton(addin::AddinState& s);
void backColorNonClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void backColorColorClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

// Writes a solid bitmap of `color` (0x00BBGGRR) to a new temporary file and returns its
// path, or "" on failure; on failure no file is left behind.
std::string makeColorBitmapFile(addin::AddinState& s, int32_t color);
// A new, empty, uniquely named temporary file ("NVK" prefix), or "" after showing "Err".
std::string getTempFilePath(addin::AddinState& s);
std::string newTempFileName(addin::AddinState& s);
// The user's temporary folder ending in the separator, or "" after showing "Err".
std::string tempFolderPath(addin::AddinState& s);

// Pixel size of the colour bitmap: the 855 x 750 twip picture box at 96 dpi.
inline constexpr int32_t kColorBitmapWidth = 57;
inline constexpr int32_t kColorBitmapHeight = 50;

}  // namespace qm::draw
