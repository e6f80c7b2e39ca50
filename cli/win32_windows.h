// The add-in DLL's real windows as the scenario runner sees and uses them (Windows,
// --via-com): its forms are the top-level windows of this thread of the toolkit's form
// class; controls are found by their automation name. State is read through standard
// window messages where Windows answers (texts, check marks, scroll positions, list rows,
// the focus) and through the windows' read-only automation description for the rest.
// Acting is done with input messages posted to the window under the pointer or with the
// keyboard focus, as the mouse and keyboard post them; the DLL's own modal loop handles
// them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ui/ui.h"
#include "win32/ui/automation.h"

namespace qm::cli::w32 {

using win32::ui::automation::Record;

// A description with lookups by record name.
class Description {
public:
    Description() = default;
    explicit Description(std::vector<Record> records) : records_(std::move(records)) {}
    const Record* find(const std::string& key) const;
    std::vector<const Record*> all(const std::string& key) const;
    // A field of the first record of that name: the text ("" when missing), a number
    // (0 when missing), a flag.
    std::string text(const std::string& key, size_t field = 1) const;
    double number(const std::string& key, size_t field = 1) const;
    bool flag(const std::string& key) const { return number(key) != 0; }
    const std::vector<Record>& records() const noexcept { return records_; }

private:
    std::vector<Record> records_;
};

double numberField(const Record& r, size_t field);

// One control as read now.
struct ControlView {
    HWND hwnd = nullptr;
    std::string kind;  // "button", "listview" ... as the dump names them
    std::string name;
    std::string container;
    ui::Bounds bounds;
    bool visible = false;  // its own flag, whatever its container's
    bool enabled = false;
    bool focus = false;
    Description about;
};

struct FormView {
    HWND hwnd = nullptr;
    std::string name;
    std::string caption;
    bool dialog = true;
    double width = 0, height = 0;
    double clientWidth = 0, clientHeight = 0;
    bool loaded = false, shown = false, minimized = false;
    std::vector<ControlView> controls;  // creation order
};

// A step of an action that runs once the window has handled what the previous step did;
// it answers false to run again at the next chance (waiting for a row to scroll into view).
using Step = std::function<bool()>;

class Windows {
public:
    Windows();

    // The innermost window the add-in shows modally now: its visible form that owns no
    // other visible form of it. Null when none.
    HWND innermostForm() const;
    // The form takes the user's input now: it is enabled (no message box or other modal
    // window over it) and no dialog box of this thread is shown.
    bool acceptsInput(HWND form) const;

    FormView readForm(HWND form) const;
    // The control of that name on the form, read now; nullopt when the form has none.
    std::optional<ControlView> readControl(HWND form, const std::string& name) const;
    ControlView read(HWND control) const;
    // Visible and enabled along its chain of parent windows up to the form.
    bool usable(HWND control) const;

    // Texts and values as the standard messages give them.
    static std::string windowText(HWND hwnd);
    int checkValue(const ControlView& box) const;
    int scrollValue(const ControlView& bar) const;
    std::pair<int, int> selection(const ControlView& box) const;  // start, length in characters
    int listCount(const ControlView& list) const;
    std::string listText(const ControlView& list, int row, int column = 0) const;  // row from 1
    bool listChecked(const ControlView& list, int row) const;
    std::optional<int> listSelected(const ControlView& list) const;
    // The grid cell under the middle of another control as the grid draws it now; nothing
    // when that control is hidden or over no cell.
    std::optional<std::pair<int, int>> cellUnder(const ControlView& grid, const ControlView& other) const;

    // The window in the lines of the headless dump.
    std::vector<std::string> dump(const FormView& form) const;
    // The picture box's drawn items as an SVG document.
    std::string svg(const ControlView& box) const;

    // ---- user actions: the steps to run, the first at once, each next one after the
    // window has handled the one before.
    std::vector<Step> click(const ControlView& c) const;
    std::vector<Step> clickAt(HWND hwnd, POINT at, bool doubleClick = false) const;
    std::vector<Step> selectAll(const ControlView& box) const;
    // The focus to the control as the mouse gives it, unless it has it already.
    std::vector<Step> focus(const ControlView& c) const;
    std::vector<Step> type(HWND form, const std::string& utf8) const;
    // Enter, Escape, Tab, Backspace, Space or a character, to the control with the focus.
    std::vector<Step> key(HWND form, int code) const;
    std::vector<Step> spin(const ControlView& bar, bool up) const;
    std::vector<Step> clickRow(const ControlView& list, int row, bool onCheckBox) const;
    std::vector<Step> clickCell(const ControlView& grid, int row, int col, bool doubleClick) const;
    // The grid's scroll bar arrows until its top row is `row` (and its left column `col`)
    // or it moves no more.
    std::vector<Step> scrollTo(const ControlView& grid, int row, std::optional<int> col) const;
    std::vector<Step> drag(const ControlView& image, double dxTwips, double dyTwips, int moves) const;
    std::vector<Step> resize(HWND form, double widthTwips, double heightTwips) const;
    std::vector<Step> systemCommand(HWND form, WPARAM command) const;

    double twipsPerPixelX() const { return twipsPerPixelX_; }
    double twipsPerPixelY() const { return twipsPerPixelY_; }

private:
    HWND focusTarget(HWND form) const;

    UINT describe_;
    double twipsPerPixelX_ = 15;
    double twipsPerPixelY_ = 15;
};

}  // namespace qm::cli::w32
