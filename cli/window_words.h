// The words both window drivers of the runner share, so that a script reads the same with
// the headless windows and with the DLL's real ones (--via-com): key names, the formats of
// checked values, the properties every control and every list view answer, and the
// failure of an action the window refused.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/script.h"
#include "core/ui/ui.h"

namespace qm::cli::words {

// A user action the window did not take (hidden, disabled, or refused by validation).
void require(bool done, const std::string& what);

// Enter, Escape (Esc), Backspace, Tab, Space or a single character, as the key's code.
int keyCode(const std::string& word);

// A key that goes down as such: Up, Down, Shift+Tab, Ctrl+<letter> or Ctrl+Shift+<letter>
// (vk codes, shift ui::kShiftMask | ui::kCtrlMask).
struct KeyDown {
    int code = 0;
    int shift = 0;
};
std::optional<KeyDown> keyDownWord(const std::string& word);

std::string boolWord(bool v);  // True, False
// Twips and other measures, to two decimals at most ("1234.5").
std::string num(double v);
// "<width> x <height>" as the size checks compare it.
std::string sizeText(double width, double height);

// What every control answers, read from the control or from its window.
struct ControlState {
    bool visible = false;
    bool enabled = false;
    bool focus = false;
    bool tabStop = false;
    ui::Bounds bounds;
};

// VISIBLE, ENABLED, LEFT, TOP, WIDTH, HEIGHT, FOCUS and TABSTOP; nothing for another name.
std::optional<std::string> commonProperty(const std::string& name, const ControlState& c);

// What a list view shows, row by row (rows from 1).
struct ListRows {
    int count = 0;
    std::optional<int> selected;
    std::function<bool(int row)> checked;
    std::function<std::string(int row)> text;
};

// COUNT, SELECTED, ROWS and ROW <row> ("[x] text", "none" past the rows); nothing for
// another name.
std::optional<std::string> listProperty(const std::string& name, const ListRows& list, Args& a);

// "window spin <scroll bar> up|down [times]": the direction and the number of clicks.
struct Spin {
    bool up = false;
    int times = 1;
};
Spin spinWords(Args& a);

}  // namespace qm::cli::words
