// Pairing a text box with its spinner.
#include "core/ui/spinner.h"

namespace qm::ui {

void pairSpinner(TextBox& box, ScrollBar& bar) {
    bar.setTabStop(false);
    bar.setCausesValidation(false);
    box.onKeyDown = [&bar](int& keyCode, int) {
        if (keyCode != vk::kUp && keyCode != vk::kDown) return;
        // The upper arrow lowers the value; at an end of the range nothing changes.
        bar.setValue(bar.value() + (keyCode == vk::kUp ? -1 : 1));
        keyCode = 0;
    };
}

}  // namespace qm::ui
