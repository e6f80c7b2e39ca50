// The fake Excel's entry points.
#include "sim/com/fake_excel.h"

#include "sim/com/objects.h"

namespace qm::fake {

FakeExcel::FakeExcel(sim::SimHost& host) : context_(std::make_shared<Context>(host)) {}

ComPtr<IDispatch> FakeExcel::application() { return wrapApplication(context_, context_->host.application()); }

ComPtr<IDispatch> FakeExcel::addIn(std::shared_ptr<sim::SimAddIn> record) {
    return wrapAddIn(context_, std::move(record));
}

std::vector<ComPtr<IDispatch>> FakeExcel::sinks(const IID& events) const {
    std::vector<ComPtr<IDispatch>> out;
    for (const auto& [iid, sink] : context_->sinks) {
        if (iid == events) out.emplace_back(sink);
    }
    return out;
}

}  // namespace qm::fake
