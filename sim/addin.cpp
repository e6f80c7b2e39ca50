// The host's add-in record.
#include "sim/addin.h"

#include "sim/world.h"

namespace qm::sim {

SimAddIn::SimAddIn(std::weak_ptr<detail::World> world, std::string progId)
    : world_(std::move(world)), progId_(std::move(progId)) {}

std::string SimAddIn::progId() {
    if (auto w = world_.lock()) w->enter("AddIn.ProgId");
    return progId_;
}

void SimAddIn::setConnect(bool value) {
    if (auto w = world_.lock()) w->enter("AddIn.Connect=");
    writes_.push_back(value);
    connected_ = value;
}

}  // namespace qm::sim
