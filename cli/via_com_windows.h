// The script's window lines in --via-com mode: they act on the add-in DLL's real windows.
//
// A window the DLL shows runs its modal loop inside the click that opened it, on this
// thread, as in Excel. The runner reads on from inside that loop: a timer of a
// message-only window of this thread ticks while the loop waits, and each tick, when the
// innermost window takes input (no message box over it), runs one step of the action in
// progress or else the script's next line. An action posts input messages (a click, a key,
// a drag) and returns; the loop handles them before the next tick comes, since a timer
// message comes only when the queue is empty. A drag or a typed text is several steps, one
// a tick, so that each sees what the previous one did. A line that fails inside a window
// is kept, the windows are closed with their close boxes, and the failure is raised again
// once the command that opened them is over.
#pragma once

#include <deque>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "cli/script.h"
#include "cli/win32_windows.h"

namespace qm::cli {

class Session;

class ComWindows {
public:
    explicit ComWindows(Session& session);
    ~ComWindows();
    ComWindows(const ComWindows&) = delete;
    ComWindows& operator=(const ComWindows&) = delete;

    // Puts this mode's window commands in place of the headless ones.
    void registerCommands();
    // Raises the failure of a line that ran inside a window, once.
    void rethrowFailure();

private:
    static LRESULT CALLBACK timerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void tick();
    HWND activeForm() const;  // ScriptError when no window is open
    w32::ControlView control(HWND form, const std::string& name, const std::string& kind, const char* what) const;
    // Runs the action's first step now and the others at the next ticks.
    void start(HWND form, std::vector<w32::Step> steps);
    std::string property(const w32::ControlView& c, const std::string& prop, Args& a) const;

    Session& session_;
    w32::Windows windows_;
    HWND timer_ = nullptr;
    // The steps still to run of each window's action in progress.
    std::map<HWND, std::deque<w32::Step>> steps_;
    // The windows whose lines are running now, innermost last: a line that runs a loop of
    // its own must not have the next line run inside it for the same window.
    std::vector<HWND> running_;
    std::exception_ptr failure_;
    HWND closing_ = nullptr;
    int closingTicks_ = 0;
};

}  // namespace qm::cli
