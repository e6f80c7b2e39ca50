// What a connection and a click cost in calls into Excel, measured on the fake's counters
// and printed; and the one cost that is a requirement: once the add-in has met a type of
// object, it never asks Excel for a member's DISPID again. The time of loading and
// connecting is printed too, never asserted.
#include <iostream>

#include "core/bars/draw_menu.h"
#include "tests/com/e2e/harness.h"

namespace qm::e2e {
namespace {

double seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// File > Exit Draw mode, the last item of the Draw-mode menu bar's first menu.
sim::ControlNodePtr exitItem(Harness& h) {
    auto bar = h.host.findBar(bars::kMenuBarName);
    if (!bar || bar->controls.empty() || !bar->controls[0]->subBar) return nullptr;
    return bar->controls[0]->subBar->controls.back();
}

void report(const char* what, const fake::Tally& t) {
    std::cout << "[ calls    ] " << what << ": " << t.invokes << " Invoke, " << t.nameLookups << " GetIDsOfNames, "
              << t.typeInfoRequests << " GetTypeInfo, " << t.eventsRaised << " events\n";
}

TEST(Calls, AWarmAddinNeverLooksUpANameAgain) {
    LARGE_INTEGER start, loaded, connected;
    ::QueryPerformanceCounter(&start);
    Harness h;
    ::QueryPerformanceCounter(&loaded);
    h.skipOnePointAdvice();
    h.excel.tally().resetCalls();
    ASSERT_EQ(h.connect(), S_OK);
    ::QueryPerformanceCounter(&connected);
    report("connection", h.excel.tally());
    EXPECT_GT(h.excel.tally().nameLookups, 0);

    // Help opens a page: a click that reads the add-in's own state and the button.
    h.excel.tally().resetCalls();
    ASSERT_TRUE(h.clickNode(h.productItem(4)));
    report("first click on Help", h.excel.tally());

    h.excel.tally().resetCalls();
    ASSERT_TRUE(h.clickNode(h.productItem(4)));
    report("second click on Help", h.excel.tally());
    EXPECT_EQ(h.excel.tally().nameLookups, 0);
    EXPECT_GT(h.excel.tally().eventsRaised, 0);

    // Draw mode in and out touches many more types of object: after one round trip,
    // the next needs no lookup either. The user creates the sheet to draw on once.
    h.answer(IDYES);
    ASSERT_TRUE(h.clickNode(h.productItem(0)));
    ASSERT_TRUE(h.clickNode(exitItem(h)));
    h.excel.tally().resetCalls();
    h.answer(IDNO);
    ASSERT_TRUE(h.clickNode(h.productItem(0)));
    report("warm click into Draw mode", h.excel.tally());
    ASSERT_TRUE(h.host.findBar(bars::kMenuBarName));
    EXPECT_EQ(h.excel.tally().nameLookups, 0);
    for (const auto& [name, count] : h.excel.tally().nameLookupsByName) ADD_FAILURE() << "looked up " << name;

    std::cout << "[ time     ] load " << seconds(start, loaded) * 1000 << " ms, connection "
              << seconds(loaded, connected) * 1000 << " ms\n";
}

}  // namespace
}  // namespace qm::e2e
