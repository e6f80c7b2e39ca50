// The host's record of a loaded add-in (its ProgId and Connect flag), handed to the
// add-in's connection by the scenario runner and by tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/host/host.h"

namespace qm::sim {

namespace detail {
class World;
}

class SimAddIn : public host::AddIn {
public:
    SimAddIn(std::weak_ptr<detail::World> world, std::string progId);

    std::string progId() override;
    void setConnect(bool value) override;

    // Test side: read and set the record without counting a host call.
    const std::string& id() const { return progId_; }
    bool connected() const { return connected_; }
    void setConnected(bool value) { connected_ = value; }
    // Every value the add-in wrote to Connect, in order.
    const std::vector<bool>& connectWrites() const { return writes_; }

private:
    std::weak_ptr<detail::World> world_;
    std::string progId_;
    bool connected_ = true;
    std::vector<bool> writes_;
};

}  // namespace qm::sim
