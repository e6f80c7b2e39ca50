// The names of the kinds of control.
#include "core/ui/widget_common.h"

namespace qm::ui {

const char* kindName(ControlKind kind) noexcept {
    switch (kind) {
        case ControlKind::Label: return "label";
        case ControlKind::Button: return "button";
        case ControlKind::CheckBox: return "checkbox";
        case ControlKind::Frame: return "frame";
        case ControlKind::TextBox: return "textbox";
        case ControlKind::ScrollBar: return "scrollbar";
        case ControlKind::ListView: return "listview";
        case ControlKind::Grid: return "grid";
        case ControlKind::PictureBox: return "picturebox";
        case ControlKind::Image: return "image";
    }
    return "control";
}

}  // namespace qm::ui
