// The simulated host's main window, as the platform window finder reports it.
#include "sim/window_finder.h"

#include "sim/world.h"

namespace qm::sim {

std::optional<platform::Rect> SimWindowFinder::findWindowRect(const std::string& className, const std::string& title) {
    auto w = world_.lock();
    if (!w || className != "XLMAIN" || title != w->caption()) return std::nullopt;
    return w->mainWindow;
}

}  // namespace qm::sim
