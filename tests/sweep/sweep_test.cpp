// The fault sweep's checks: what the user changed is expected back, what the add-in must
// put back and did not is named; and the points it tries.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/fault_sweep.h"

namespace qm::cli {
namespace {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("qm-sweep-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string path() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

const char* const kRoundTrip =
    "workbook Book1 sheets Sheet1\n"
    "setting App OnePoint 0\n"
    "bar add Mine position=1 visible\n"
    "connect\n"
    "host toggle 549 on\n"
    "clipboard text copied\n"
    "answer No\n"
    "click \"Worksheet Menu Bar > &NVK > &Quillmark > Goto &Draw mode\"\n"
    "host toggle 1402 on\n"
    "click \"QM_MENU > &File > E&xit Draw mode\"\n"
    "disconnect\n";

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& l : lines) {
        if (l.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(AfterRunCheck, TheUsersOwnChangesAreExpectedAndWhatWasLeftWrongIsNamed) {
    NullBuffer nothing;
    std::ostream transcript(&nothing);
    ScratchFolder temp;
    Session session(transcript, Options{});
    AfterRunCheck check(session, temp.path());
    Script script = Script::fromText(kRoundTrip, "round trip");
    ASSERT_EQ(session.run(script), 0);
    // Snap to Grid and the clipboard are the user's; Snap to Shape in Draw mode was put back.
    EXPECT_EQ(check.broken(), std::vector<std::string>{});

    sim::SimHost& host = session.host();
    host.setToggle(host::ctl::kSnapToGrid, false);
    host.setDisplayFullScreen(true);
    host.findBar("Standard")->enabled = false;
    host.clipboard().clear();
    host.removeBar("Mine");
    host.addBar({.name = "QM_TEXT"});
    std::ofstream(temp.path() + "NVK1A2B.TMP").put('x');
    const std::vector<std::string> broken = check.broken();
    EXPECT_EQ(broken.size(), 7u);
    EXPECT_TRUE(mentions(broken, "Snap to Grid is off, was on"));
    EXPECT_TRUE(mentions(broken, "full screen is on, was off"));
    EXPECT_TRUE(mentions(broken, "the bar \"Standard\" disabled"));
    EXPECT_TRUE(mentions(broken, "the clipboard holds empty"));
    EXPECT_TRUE(mentions(broken, "the user's bar \"Mine\" is gone"));
    EXPECT_TRUE(mentions(broken, "\"QM_TEXT\" was left behind"));
    EXPECT_TRUE(mentions(broken, "NVK1A2B.TMP was left"));
}

TEST(AfterRunCheck, ATableTheUserCopiesInTheObjectListIsTheUsersClipboard) {
    NullBuffer nothing;
    std::ostream transcript(&nothing);
    ScratchFolder temp;
    Session session(transcript, Options{});
    AfterRunCheck check(session, temp.path());
    Script script = Script::fromText(
        "workbook Book1 sheets Sheet1\n"
        "shape freeform Zig nodes=\"20,200;60,240\"\n"
        "connect\n"
        "clipboard text copied\n"
        "select shapes Zig\n"
        "click \"Worksheet Menu Bar > &NVK > &Quillmark > &Object List\"\n"
        "window click cmdNodeShow\n"
        "window cell fxgNodes 1 1\n"
        "window key ctrl+c\n"
        "window close\n"
        "disconnect\n",
        "copy");
    ASSERT_EQ(session.run(script), 0);
    EXPECT_EQ(check.broken(), std::vector<std::string>{});
}

TEST(FaultSweep, EveryCallOfASmallRunAndAnEvenSpreadOfALargeOne) {
    SweepOptions options;
    options.step = 100;
    std::ostringstream every;
    EXPECT_EQ(runFaultSweep(kRoundTrip, "round trip", options, every), 0) << every.str();
    const std::string text = every.str();
    const long calls = std::stol(text.substr(text.find(": ") + 2));
    const std::string tried = std::to_string((calls + 99) / 100);
    EXPECT_NE(text.find(tried + " points tried (every 100th call), " + tried + " survived"), std::string::npos) << text;

    options.everyCallUpTo = calls - 1;
    options.spreadPoints = 40;
    options.step = 4;
    std::ostringstream spread;
    EXPECT_EQ(runFaultSweep(kRoundTrip, "round trip", options, spread), 0) << spread.str();
    EXPECT_NE(spread.str().find("10 points tried (spread evenly), 10 survived"), std::string::npos) << spread.str();

    std::ostringstream failing;
    EXPECT_EQ(runFaultSweep("workbook Book1\nconnect\nexpect bar QM missing\n", "failing", options, failing), 2);
    EXPECT_NE(failing.str().find("the script fails without any fault"), std::string::npos);
}

}  // namespace
}  // namespace qm::cli
