// Host calls and time of the add-in's hot paths: OnUpdate with an unchanged selection, a
// Draw-mode round trip, opening the Object List on many objects, and a node panel refresh
// on a large freeform. Counters report host calls; times come from Google Benchmark.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/host/constants.h"
#include "tests/support/addin_harness.h"

namespace {

using qm::testing::AddinHarness;
using qm::testing::kMenu;

void enterDrawMode(AddinHarness& h) {
    h.messages.queue(qm::platform::mb::kResultNo);
    h.click(kMenu + "Goto &Draw mode");
}

void BM_OnUpdateUnchangedSelection(benchmark::State& state) {
    AddinHarness h;
    h.store.write(qm::settings::kApp, "App", "OnePoint", "0");
    qm::sim::ShapeInit box;
    box.name = "Box";
    box.width = 100;
    box.height = 50;
    box.text = "text";
    h.host.addShape(h.sheet, box);
    h.connect();
    enterDrawMode(h);
    h.host.selectShapes({"Box"});
    h.host.fireUpdate();  // the buttons now show the selection
    h.host.resetCounts();
    int64_t updates = 0;
    for (auto _ : state) {
        h.host.fireUpdate();
        ++updates;
    }
    state.counters["reads_per_update"] = static_cast<double>(h.host.calls() - h.host.writes()) / updates;
    state.counters["writes_per_update"] = static_cast<double>(h.host.writes()) / updates;
}
BENCHMARK(BM_OnUpdateUnchangedSelection);

void BM_DrawModeRoundTrip(benchmark::State& state) {
    AddinHarness h;
    h.store.write(qm::settings::kApp, "App", "OnePoint", "0");
    h.connect();
    h.host.resetCounts();
    int64_t trips = 0;
    for (auto _ : state) {
        enterDrawMode(h);
        h.click("QM > Goto &Draw mode");
        ++trips;
    }
    state.counters["host_calls_per_trip"] = static_cast<double>(h.host.calls()) / trips;
}
BENCHMARK(BM_DrawModeRoundTrip)->Unit(benchmark::kMillisecond);

void BM_OpenObjectList(benchmark::State& state) {
    AddinHarness h;
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i) {
        qm::sim::ShapeInit s;
        s.name = "Shape " + std::to_string(i);
        s.left = static_cast<float>(i % 500);
        s.top = static_cast<float>(i / 500);
        s.width = 20;
        s.height = 10;
        h.host.addShape(h.sheet, s);
    }
    h.connect();
    h.host.resetCounts();
    int64_t opened = 0;
    for (auto _ : state) {
        h.click(kMenu + "&Object List");
        ++opened;
    }
    state.SetComplexityN(n);
    state.counters["host_calls_per_shape"] = static_cast<double>(h.host.calls()) / opened / n;
}
BENCHMARK(BM_OpenObjectList)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

void BM_NodePanelRefresh2000Nodes(benchmark::State& state) {
    AddinHarness h;
    qm::sim::ShapeInit f;
    f.kind = qm::sim::ShapeKind::Freeform;
    f.name = "Path";
    for (int i = 0; i < 2000; ++i) {
        const double a = i * 2 * 3.14159265358979 / 2000;
        f.nodes.push_back({static_cast<float>(300 + 200 * std::cos(a)), static_cast<float>(300 + 200 * std::sin(a)),
                           qm::host::msoEditingAuto, qm::host::msoSegmentLine});
    }
    f.nodes.push_back(f.nodes.front());
    h.host.addShape(h.sheet, f);
    h.connect();
    int64_t refreshes = 0;
    int64_t calls = 0;
    h.onWindow = [&](qm::ui::headless::Form& form) {
        form.get<qm::ui::headless::Button>("cmdNodeShow").userClick();  // unfold: one refresh
        auto& list = form.get<qm::ui::headless::ListView>("lstShapes");
        h.host.resetCounts();
        for (auto _ : state) {
            list.userClickRow(1);  // the row click refreshes the positions and the node panel
            ++refreshes;
        }
        calls = h.host.calls();
        form.userClose();
    };
    h.click(kMenu + "&Object List");
    state.counters["host_calls_per_refresh"] = refreshes ? static_cast<double>(calls) / refreshes : 0;
}
BENCHMARK(BM_NodePanelRefresh2000Nodes)->Unit(benchmark::kMillisecond);

}  // namespace
