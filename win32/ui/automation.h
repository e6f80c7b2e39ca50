// Read-only automation of the add-in's windows: how a driver in the same process (the
// scenario runner, an end-to-end test, an accessibility tool) finds the forms and controls
// by name and reads what Windows cannot tell from outside them. Nothing here changes a
// window's state: reading is a property lookup and a message that only writes a text.
//
// - Every form and control window carries its name ("frmObjects", "txtPosition(2)") as the
//   window property kNameProperty, whose value is a global atom of the name.
// - Every such window answers the registered message kDescribeMessage: wParam is the
//   capacity of the caller's buffer in bytes, lParam the buffer (char*, may be null). The
//   window writes its description as UTF-8 (cut to the capacity, NUL-terminated) and
//   returns the description's full length in bytes; a window that does not know the
//   message returns 0.
// - A description is records, one per line, fields separated by tabs, the first field
//   naming the record; tabs, line breaks and backslashes inside a field are escaped (\t,
//   \n, \r, \\). Numbers are written exactly (shortest round-trip form), geometry in twips
//   as the presenter set it.
//
// Records of a form: "form <name>", "caption <text>", "style dialog|tool", "outer <w> <h>",
// "client <w> <h>", "loaded 0|1", "shown 0|1", "minimized 0|1", "focus <control>" (the
// form's own idea of the focus, empty when none), then "control <name> <container>" per
// control in creation order (container empty for the form itself).
// Records of every control: "control <kind> <name>", "container <name>", "bounds <left>
// <top> <width> <height>", "tabstop 0|1", "focusable 0|1"; then per kind:
//   label       "forecolor <colour>"
//   button      "cancel 0|1", "default 0|1", "facecolor <colour>"
//   textbox     "backcolor <colour>"
//   scrollbar   "range <min> <max>" (min may be above max; the window's own range is the
//               normalised one from 0)
//   listview    "column <header> <width>" per column, "key <row> <key>" per row with a key
//   grid        "size <rows> <cols> <fixed rows> <fixed cols>", "scroll <top row> <left col>",
//               "current <row> <col>", "backcolor <colour>", "widths <w>...", "heights <h>..."
//               (only when a height was set), "align <col> <n>", "fixed-align <col> <n>",
//               "cell <row> <col> <text> [<colour>]" per cell (colour when set), and
//               "col-edges" / "row-edges" with each column's left / row's top in client
//               pixels as drawn now (-1 when scrolled out of view)
//   picturebox  "border 0|1", "scale twips" or "scale user <left> <top> <width> <height>",
//               "scale-size <w> <h>", "inner <w> <h>", "backcolor <colour>", and the drawn
//               items in order, in twips: "text <x> <y> <text> <font> <size> <bold> <italic>
//               <colour>", "box <left> <top> <width> <height> <colour>", "picture <format>
//               <bytes> <left> <top> <width> <height>"
//   image       "picture <bytes>", "pointer default|size-we|size-ns"
// Colours are numbers, 0x00BBGGRR or a system colour with the high bit set.
#pragma once

#include "win32/utf.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::win32::ui::automation {

inline constexpr wchar_t kNameProperty[] = L"Quillmark.Automation.Name";
inline constexpr wchar_t kDescribeMessage[] = L"Quillmark.Automation.Describe";

using Record = std::vector<std::string>;

// Builds a description record by record.
class Writer {
public:
    Writer& record(std::string_view key);
    Writer& text(std::string_view field);
    Writer& number(double v);
    Writer& integer(long long v);
    Writer& flag(bool v) { return integer(v ? 1 : 0); }
    const std::string& str() const noexcept { return out_; }

private:
    std::string out_;
};

std::vector<Record> parse(std::string_view description);
std::string formatNumber(double v);
// A number field; nullopt when it is not one.
std::optional<double> parseNumber(std::string_view field);

// ---- the window's side

// Puts the name on the window (a global atom), and takes it off again before the window
// goes: the atom is released with it.
void setName(HWND hwnd, const std::string& name) noexcept;
void clearName(HWND hwnd) noexcept;
// The answer to kDescribeMessage: copies the description into the caller's buffer.
LRESULT answer(const std::string& description, WPARAM capacity, LPARAM buffer) noexcept;

// ---- the reader's side

// The window's name, empty when it has none.
std::string nameOf(HWND hwnd);
// The window's description; nullopt when it does not answer. `message` is
// RegisterWindowMessageW(kDescribeMessage).
std::optional<std::vector<Record>> describe(HWND hwnd, UINT message);

}  // namespace qm::win32::ui::automation
