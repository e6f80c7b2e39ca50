// What the widgets of both toolkits share: the kinds of control, with the names the window
// dumps, the scenario scripts and the automation records give them, and the way an event
// handler runs.
#pragma once

#include <functional>
#include <utility>

namespace qm::ui {

enum class ControlKind { Label, Button, CheckBox, Frame, TextBox, ScrollBar, ListView, Grid, PictureBox, Image };

// "label", "textbox", "listview" ...
const char* kindName(ControlKind kind) noexcept;

// Whether `w` is `outer` or lies inside it, along its containers.
template <class W>
bool isWithin(const W* w, const W& outer) {
    for (; w; w = w->container()) {
        if (w == &outer) return true;
    }
    return false;
}

// The control whose validation a move of the focus from `focus` to `to` runs, or null. A
// move to a control that does not cause validation puts it off: `due` then keeps the
// control that owes it, and the next move to one that does runs it (unless it is a move
// back to that control itself).
template <class W>
W* validationOwed(W*& due, W* focus, const W& to, bool toCausesValidation) {
    W* owed = due ? due : focus;
    due = nullptr;
    if (owed == &to) return nullptr;
    if (!toCausesValidation) {
        due = owed;
        return nullptr;
    }
    return owed;
}

// Runs an event handler through a copy, so that a handler may replace itself (a presenter
// re-wiring its events) while it runs.
template <class Signature, class... Args>
void fireEvent(const std::function<Signature>& handler, Args&&... args) {
    if (!handler) return;
    const std::function<Signature> copy = handler;
    copy(std::forward<Args>(args)...);
}

}  // namespace qm::ui
