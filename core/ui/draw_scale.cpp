// A picture box's drawing scale: the one check a user scale needs.
#include "core/ui/draw_scale.h"

#include "core/host/error.h"

namespace qm::ui {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;

}  // namespace

void DrawScale::setUser(const std::string& control, double left, double top, double width, double height) {
    if (width == 0 || height == 0) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + control + " scale of zero size)");
    }
    user_ = User{left, top, width, height};
}

}  // namespace qm::ui
