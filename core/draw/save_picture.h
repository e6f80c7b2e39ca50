// Save Picture: the selected drawing objects or cells written to an EMF or BMP file
// through the clipboard, whose earlier contents are put back afterwards.
#pragma once

#include "core/addin/state.h"

namespace qm::draw {

inline constexpr const char* kSavePictureFilter = "meta (*.emf),*.emf,bitmap (*.bmp),*.bmp";

void savePictureClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::draw
