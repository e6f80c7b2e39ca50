// A fake Excel for the real add-in DLL: the simulated host's object model exposed through
// IDispatch and connection points, named and typed as Excel's, counting every object,
// reference and call so that tests can see what a client took and gave back.
#pragma once

#include <memory>
#include <vector>

#include "sim/sim_host.h"
#include "sim/com/com_util.h"
#include "sim/com/dispatch.h"
#include "sim/com/tally.h"

namespace qm::fake {

class FakeExcel {
public:
    // `host` must outlive this object and every COM object it hands out.
    explicit FakeExcel(sim::SimHost& host);

    // A new Application object over the host; Excel hands an add-in one at connection.
    ComPtr<IDispatch> application();
    // The COMAddIn object (ProgId, Connect) of an add-in record of the host.
    ComPtr<IDispatch> addIn(std::shared_ptr<sim::SimAddIn> record);

    // The sinks advised for an event interface, oldest first.
    std::vector<ComPtr<IDispatch>> sinks(const IID& events) const;

    Tally& tally() { return context_->tally; }
    const Tally& tally() const { return context_->tally; }
    const ContextPtr& context() const { return context_; }

private:
    ContextPtr context_;
};

}  // namespace qm::fake
