// Shared procedures of the connection state: binding buttons to their handlers, the
// host-ready test.
#include "core/addin/state.h"

#include "core/addin/errors.h"
#include "core/addin/handlers.h"
#include "core/host/constants.h"

namespace qm::addin {

void AddinState::bind(Btn b, host::CommandBarControlPtr control) {
    button(b).assign(std::move(control), [this, b](const host::CommandBarControlPtr& ctrl, bool& cancelDefault) {
        // A failure the handler did not deal with itself is shown as the add-in's error
        // message; the host's event source sees nothing of it.
        ClickFn handler = clickHandlerOf(b);
        if (!handler) return;
        if (auto e = captureError([&] { handler(*this, ctrl, cancelDefault); })) showError(*e);
    });
}

bool hostReady(AddinState& s) {
    if (!s.app->activeWorkbook()) return false;
    if (!s.app->activeWindow()) return false;
    auto enabled = tryGet([&] {
        auto ctrl = s.app->commandBars()->findControl({.id = host::ctl::kNew});
        return ctrl && ctrl->enabled();
    });
    return enabled.value_or(false);
}

}  // namespace qm::addin
