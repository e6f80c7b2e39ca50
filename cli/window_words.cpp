// The words both window drivers of the runner share.
#include "cli/window_words.h"

#include <cmath>
#include <utility>
#include <vector>

#include "core/text/number.h"
#include "core/text/strings.h"

namespace qm::cli::words {

namespace {

constexpr int kTab = 9;

std::string rowText(const ListRows& list, int row) { return (list.checked(row) ? "[x] " : "[ ] ") + list.text(row); }

}  // namespace

void require(bool done, const std::string& what) {
    if (!done) throw CheckFailed(what + " could not be done", "the control to take the action", "hidden, disabled or refused");
}

int keyCode(const std::string& word) {
    const std::string w = text::upperAscii(word);
    if (w == "ENTER") return ui::key::kEnter;
    if (w == "ESCAPE" || w == "ESC") return ui::key::kEscape;
    if (w == "BACKSPACE") return ui::key::kBackspace;
    if (w == "TAB") return kTab;
    if (w == "SPACE") return ' ';
    if (word.size() == 1) return static_cast<unsigned char>(word[0]);
    throw ScriptError("unknown key \"" + word + "\"");
}

std::optional<KeyDown> keyDownWord(const std::string& word) {
    const std::string w = text::upperAscii(word);
    if (w == "UP") return KeyDown{ui::vk::kUp, 0};
    if (w == "DOWN") return KeyDown{ui::vk::kDown, 0};
    if (w == "SHIFT+TAB") return KeyDown{ui::vk::kTab, ui::kShiftMask};
    // Ctrl+<letter> and Ctrl+Shift+<letter>: the letter's key with the modifiers held.
    for (const auto& [prefix, shift] : {std::pair<std::string, int>{"CTRL+SHIFT+", ui::kCtrlMask | ui::kShiftMask},
                                        std::pair<std::string, int>{"CTRL+", ui::kCtrlMask}}) {
        if (w.size() == prefix.size() + 1 && w.compare(0, prefix.size(), prefix) == 0 && w.back() >= 'A' && w.back() <= 'Z') {
            return KeyDown{w.back(), shift};
        }
    }
    return std::nullopt;
}

std::string boolWord(bool v) { return v ? "True" : "False"; }

std::string num(double v) { return text::shortestText(std::round(v * 100) / 100); }

std::string sizeText(double width, double height) { return num(width) + " x " + num(height); }

std::optional<std::string> commonProperty(const std::string& name, const ControlState& c) {
    if (name == "VISIBLE") return boolWord(c.visible);
    if (name == "ENABLED") return boolWord(c.enabled);
    if (name == "LEFT") return num(c.bounds.left);
    if (name == "TOP") return num(c.bounds.top);
    if (name == "WIDTH") return num(c.bounds.width);
    if (name == "HEIGHT") return num(c.bounds.height);
    if (name == "FOCUS") return boolWord(c.focus);
    if (name == "TABSTOP") return boolWord(c.tabStop);
    return std::nullopt;
}

std::optional<std::string> listProperty(const std::string& name, const ListRows& list, Args& a) {
    if (name == "COUNT") return std::to_string(list.count);
    if (name == "SELECTED") return list.selected ? std::to_string(*list.selected) : "none";
    if (name == "ROWS") {
        std::vector<std::string> rows;
        for (int r = 1; r <= list.count; ++r) rows.push_back(rowText(list, r));
        return text::join(rows, " | ");
    }
    if (name == "ROW") {
        const int r = a.nextInt("row");
        return r < 1 || r > list.count ? "none" : rowText(list, r);
    }
    return std::nullopt;
}

Spin spinWords(Args& a) {
    Spin spin;
    spin.up = a.accept("up");
    if (!spin.up && !a.accept("down")) throw ScriptError("spin up or down");
    if (const auto count = a.nextIf()) spin.times = static_cast<int>(text::val(*count));
    return spin;
}

}  // namespace qm::cli::words
