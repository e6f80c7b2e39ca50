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

// Runs an event handler through a copy, so that a handler may replace itself (a presenter
// re-wiring its events) while it runs.
template <class Signature, class... Args>
void fireEvent(const std::function<Signature>& handler, Args&&... args) {
    if (!handler) return;
    const std::function<Signature> copy = handler;
    copy(std::forward<Args>(args)...);
}

}  // namespace qm::ui
