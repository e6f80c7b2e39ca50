// quillmark --fault-sweep: runs a scenario once to count the host calls of the run, then
// again for each chosen call N with that call failing, all in this process, and checks
// after each run (and a final disconnection) that Excel was left usable: every toolbar and
// menu bar enabled, screen updating on, the user's bars, drawing aids, display state and
// clipboard as the user left them, no host object or event still held, no temporary file
// left, no exception out of the add-in, no crash.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/session.h"

namespace qm::cli {

struct SweepOptions {
    Options session;                // how each run's session is made (--via-com ...)
    int64_t everyCallUpTo = 5000;   // every call is a point while a run has at most this many
    int64_t spreadPoints = 2000;    // otherwise this many points, evenly spread
    int64_t step = 1;               // only every step-th of those points
    size_t failuresShown = 5;
};

// What the user's Excel must look like after a run and its final disconnection, followed
// through one session: taken before the first connection and kept up to date with what
// the script's user does to the host from then on (bars added, aids and display switched
// outside Draw mode, the clipboard). Watches the session's commands from construction.
class AfterRunCheck {
public:
    AfterRunCheck(Session& session, std::string tempFolder);
    ~AfterRunCheck();
    AfterRunCheck(const AfterRunCheck&) = delete;
    AfterRunCheck& operator=(const AfterRunCheck&) = delete;

    // What is wrong now, one line each; empty when Excel is as the user left it.
    std::vector<std::string> broken();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Prints the points tried and survived and the first failures, each with its call number,
// the call and script line it hit and the invariants it broke. Returns 0 when every point
// survived, 1 when one did not, 2 when the script fails without any fault.
int runFaultSweep(const std::string& scriptText, const std::string& scriptName, const SweepOptions& options,
                  std::ostream& out);

}  // namespace qm::cli
