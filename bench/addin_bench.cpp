// Host calls and time of the add-in's hot paths: OnUpdate with an unchanged selection, a
// Draw-mode round trip, opening the Object List on many objects, a node panel refresh on a
// large freeform and a node table pasted onto it. Counters report host calls; times come
// from Google Benchmark.
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

qm::sim::ShapeInit circle2000() {
    qm::sim::ShapeInit f;
    f.kind = qm::sim::ShapeKind::Freeform;
    f.name = "Path";
    for (int i = 0; i < 2000; ++i) {
        const double a = i * 2 * 3.14159265358979 / 2000;
        f.nodes.push_back({static_cast<float>(300 + 200 * std::cos(a)), static_cast<float>(300 + 200 * std::sin(a)),
                           qm::host::msoEditingAuto, qm::host::msoSegmentLine});
    }
    f.nodes.push_back(f.nodes.front());
    return f;
}

void BM_NodePanelRefresh2000Nodes(benchmark::State& state) {
    AddinHarness h;
    h.host.addShape(h.sheet, circle2000());
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

// Ctrl+V in the node grid of a 2,001-node freeform with a table that moves every node (two
// tables in turn): the paste and the refresh that shows it. The floor is one write per
// node.
void BM_PasteNodeTable2000Nodes(benchmark::State& state) {
    AddinHarness h;
    h.host.addShape(h.sheet, circle2000());
    h.connect();
    std::string tables[2];
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 2001; ++i) {
            tables[t] += std::to_string(1 + t + i % 7) + "." + std::to_string(i % 100) + "\t" + std::to_string(5 + i % 11) + "\r\n";
        }
    }
    int64_t pastes = 0;
    int64_t calls = 0;
    int64_t nodeWrites = 0;
    h.onWindow = [&](qm::ui::headless::Form& form) {
        form.get<qm::ui::headless::Button>("cmdNodeShow").userClick();
        form.get<qm::ui::headless::Grid>("fxgNodes").userClickCell(1, 1);
        h.host.resetCounts();
        for (auto _ : state) {
            state.PauseTiming();
            h.host.clipboard().setText(tables[pastes % 2], qm::platform::cf::kText);
            state.ResumeTiming();
            form.userKeyDown('V', qm::ui::kCtrlMask);
            ++pastes;
        }
        calls = h.host.calls();
        nodeWrites = h.host.calls("ShapeNodes.SetPosition");
        form.userClose();
    };
    h.click(kMenu + "&Object List");
    if (pastes == 0) return;
    state.counters["host_calls_per_paste"] = static_cast<double>(calls) / pastes;
    state.counters["node_writes_per_paste"] = static_cast<double>(nodeWrites) / pastes;
    state.counters["floor_writes"] = 2001;
    state.counters["calls_per_node"] = static_cast<double>(calls) / pastes / 2001;
}
BENCHMARK(BM_PasteNodeTable2000Nodes)->Unit(benchmark::kMillisecond);

}  // namespace
