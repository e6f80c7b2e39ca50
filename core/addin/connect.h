// The add-in's connection object: what the host calls through its five connection
// events. Owns the state of one connection and the order of connection and disconnection.
#pragma once

#include <memory>

#include "core/addin/state.h"

namespace qm::addin {

class Connect {
public:
    Connect(platform::Services& services, ui::Toolkit& toolkit, Config config = {});
    ~Connect();
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    // Refuses hosts of version 12 and later (message, AddInInst.Connect = False).
    // Otherwise builds the add-in menu and toolbar. A host failure comes back as the
    // exception that ends the connection, after what was built is taken down again.
    void onConnection(const host::ApplicationPtr& application, host::AddIn& addInInst);
    // Leaves Draw mode, stores the toolbar's place, removes menus, unloads windows and
    // releases every host reference. Never throws.
    void onDisconnection() noexcept;
    void onStartupComplete() noexcept {}
    void onBeginShutdown() noexcept {}
    void onAddInsUpdate() noexcept {}

    AddinState& state() { return state_; }
    bool connected() const { return static_cast<bool>(state_.app); }

private:
    void releaseAll() noexcept;

    Config config_;
    AddinState state_;
};

}  // namespace qm::addin
