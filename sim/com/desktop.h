// The user in front of the screen, for programs that run the real add-in DLL: a watcher
// thread that finds every dialog box and window of this process, reads a message box as a
// user reads it (text, title, buttons, icon), types a colour into the colour dialog, and
// presses the button it is told to. One of the add-in's own windows is closed with its
// close box, clicked on one of its controls, or left to whoever drives it.
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
    // forms), and its automation name ("frmOnePoint") when it has one.
    bool form = false;
    std::string name;
    std::string text;         // a message box's message
    std::string title;
    // The automation name of the window that owns it ("frmSetting"): empty when that is
    // not one of the add-in's windows (Excel's main window, or none).
    std::string ownerName;
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
// there is one, then presses a button. In a form: closes it with its close box (any
// button), clicks the controls of those automation names one after the other, or leaves
// it alone. A form is offered again each time it takes input again after a modal window
// over it closed.
struct Reply {
    Reply(int pressed) : button(pressed) {}
    Reply(int pressed, COLORREF typed) : button(pressed), color(typed) {}
    static Reply click(std::vector<std::string> controls) {
        Reply r(0);
        r.controls = std::move(controls);
        return r;
    }
    static Reply leave() {
        Reply r(0);
        r.leaveAlone = true;
        return r;
    }
    int button;
    std::optional<COLORREF> color;
    std::vector<std::string> controls;
    bool leaveAlone = false;
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
    void answerForm(HWND form, SeenDialog& seen);

    Answer answer_;
    std::mutex busy_;
    std::set<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

// The buttons code of a message box from the buttons it shows; -1 for another set.
int buttonsCodeOf(const std::vector<int>& buttons);

// The child window of `parent` whose automation name is `name`, or null.
HWND findNamedChild(HWND parent, const std::string& name);

}  // namespace qm::fake
