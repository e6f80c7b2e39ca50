// Acting on real windows while one of them runs its modal loop: the test's steps run one
// per tick of a timer on the test's own thread, so each step sees every message the
// previous one posted already handled (a timer message comes only when the queue holds
// nothing else). Posting rather than sending keeps keys on their way through the modal
// loop's dialog keys, as a keyboard's would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui::testing {

class ModalScript {
public:
    using Step = std::function<void()>;

    // Starts ticking at once; the steps run once a modal loop (or any message loop of
    // this thread) runs. After the last step, a window still shown is closed after a
    // while, so that a step that failed cannot hang the test.
    explicit ModalScript(Toolkit& toolkit, std::vector<Step> steps);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool finished() const noexcept { return next_ >= steps_.size() && !again_; }
    // Called by a step that waits for something: it runs again at the next tick.
    void again() noexcept { again_ = true; }
    bool timedOut() const noexcept { return timedOut_; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void tick();

    Toolkit& toolkit_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool again_ = false;
    int idleTicks_ = 0;
    bool timedOut_ = false;
    HWND hwnd_ = nullptr;
};

// What a user does, as window messages.
void postClick(HWND hwnd, int x, int y);            // left button down and up at a client point
void postDoubleClick(HWND hwnd, int x, int y);
void postChars(HWND hwnd, const std::wstring& text);  // WM_CHAR each
void postKey(HWND hwnd, UINT vk);                    // WM_KEYDOWN and WM_KEYUP
void postButton(HWND button);                        // BM_CLICK
// A drag inside one window with the left button, in client pixels of the window's
// position at each step: the window may move under the mouse.
void sendDrag(HWND hwnd, POINT from, POINT to, int steps);

// The rectangle of a list view row (0-based) and the point of its check box.
RECT listRow(HWND list, int index);
POINT listCheckBox(HWND list, int index);
POINT centre(const RECT& rc);

// Windows of this thread that exist now: top-level and child.
int threadWindowCount();

}  // namespace qm::win32::ui::testing
