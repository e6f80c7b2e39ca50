// The platform window finder as the simulated host answers it: the host's main window
// (class "XLMAIN", titled with Application.Caption) and its screen rectangle.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/platform/platform.h"

namespace qm::sim {

namespace detail {
class World;
}

class SimWindowFinder : public platform::WindowFinder {
public:
    explicit SimWindowFinder(std::weak_ptr<detail::World> world) : world_(std::move(world)) {}
    std::optional<platform::Rect> findWindowRect(const std::string& className, const std::string& title) override;

private:
    std::weak_ptr<detail::World> world_;
};

}  // namespace qm::sim
