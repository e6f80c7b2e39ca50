// A text box and the scroll bar beside it that steps its value, as the windows pair them.
#pragma once

#include "core/ui/ui.h"

namespace qm::ui {

// The bar takes no Tab stop and does not validate the box, so that its change sees the
// text typed in the box; Up and Down in the box act as the bar's upper and lower arrows.
// The box's onKeyDown is the pairing's.
void pairSpinner(TextBox& box, ScrollBar& bar);

}  // namespace qm::ui
