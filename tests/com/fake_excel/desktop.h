// The user in front of the screen, for programs that run the real add-in DLL: a watcher
// thread that finds every dialog box and window of this process, reads a message box as a
// user reads it (text, title, buttons, icon), types a colour into the colour dialog, and
// presses the button it is told to (or closes a window it cannot use).
#pragma once

#include "win32/utf.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace qm::fake {

// A dialog box, or another window of the program, as the user sees it.
struct SeenDialog {
    bool messageBox = false;  // false: some other dialog or window of the process
    // A captioned top-level window that is not a dialog box (one of the program's own
    // forms): the user can only close it, with its close box.
    bool form = false;
    std::string text;         // a message box's message
    std::string title;
    std::vector<int> buttons;  // IDOK, IDCANCEL ... present, in that numeric order
    int buttonsCode = -1;      // MB_OK ... MB_CANCELTRYCONTINUE from the buttons; -1 unknown
    int iconCode = 0;          // MB_ICONHAND ... MB_ICONASTERISK, 0 for none
    // The common colour dialog, and the colour its red, green and blue boxes show.
    bool colorChooser = false;
    std::optional<COLORREF> color;
    // The style a program passed to show this box: buttons and icon.
    int style() const { return (buttonsCode < 0 ? 0 : buttonsCode) | iconCode; }
    bool hasButton(int id) const;
};

// What the user does in a dialog: types a colour into a colour dialog's boxes when
// there is one, then presses a button.
struct Reply {
    Reply(int pressed) : button(pressed) {}
    Reply(int pressed, COLORREF typed) : button(pressed), color(typed) {}
    int button;
    std::optional<COLORREF> color;
};

class DialogWatcher {
public:
    // `answer` runs on the watcher's thread while the dialog is shown and says what the
    // user does (IDOK ... IDNO). The owner's thread is meanwhile inside the modal loop of
    // the dialog, so the answer may touch what that thread owns.
    using Answer = std::function<Reply(const SeenDialog&)>;

    explicit DialogWatcher(Answer answer);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Returns once no dialog is being answered. Whatever the answer did is then visible
    // to the caller's thread.
    void settle();
    int answered() const { return answered_.load(); }

private:
    void run();
    void scan();
    void answerDialog(HWND dialog);

    Answer answer_;
    std::mutex busy_;
    std::set<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

// The buttons code of a message box from the buttons it shows; -1 for another set.
int buttonsCodeOf(const std::vector<int>& buttons);

}  // namespace qm::fake
