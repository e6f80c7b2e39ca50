// Finding, reading and using the add-in DLL's real windows from the runner's thread.
#include "cli/win32_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "cli/script.h"
#include "core/platform/platform.h"
#include "core/text/utf8.h"
#include "core/ui/headless/describe.h"

namespace qm::cli::w32 {

namespace automation = win32::ui::automation;
using ui::headless::formatColor;
using ui::headless::formatNumber;
using ui::headless::quoted;

namespace {

constexpr wchar_t kFormClassPrefix[] = L"QuillmarkForm.";
// Scrolling to bring a row or cell into view gives up after this many arrow clicks.
constexpr int kMostScrollSteps = 500;

std::wstring classOf(HWND hwnd) {
    wchar_t name[128] = {};
    ::GetClassNameW(hwnd, name, 128);
    return name;
}

bool isAddinForm(HWND hwnd) { return classOf(hwnd).rfind(kFormClassPrefix, 0) == 0; }

BOOL CALLBACK collectTop(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> threadWindows() {
    std::vector<HWND> all;
    ::EnumThreadWindows(::GetCurrentThreadId(), collectTop, reinterpret_cast<LPARAM>(&all));
    return all;
}

BOOL CALLBACK collectNamed(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<std::map<std::string, HWND>*>(param);
    std::string name = automation::nameOf(hwnd);
    if (!name.empty()) found->emplace(std::move(name), hwnd);
    return TRUE;
}

std::map<std::string, HWND> namedChildren(HWND form) {
    std::map<std::string, HWND> found;
    ::EnumChildWindows(form, collectNamed, reinterpret_cast<LPARAM>(&found));
    return found;
}

LPARAM point(POINT p) { return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)); }

POINT centreOf(HWND hwnd) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A whole step: runs once.
Step once(std::function<void()> f) {
    return [f = std::move(f)] {
        f();
        return true;
    };
}

void postKeyDown(HWND target, UINT vk) {
    const UINT scan = ::MapVirtualKeyW(vk, 0);
    ::PostMessageW(target, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
}

void postKeyUp(HWND target, UINT vk) {
    const UINT scan = ::MapVirtualKeyW(vk, 0);
    ::PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
}

std::string kindOfFormat(int format) {
    switch (format) {
        case platform::cf::kBitmap: return "bitmap";
        case platform::cf::kDib: return "dib";
        case platform::cf::kEnhMetafile: return "emf";
        case platform::cf::kMetafilePict: return "wmf";
        default: return "format " + std::to_string(format);
    }
}

std::string alignName(int align) {
    switch (align) {
        case static_cast<int>(ui::CellAlign::LeftCenter): return "left";
        case static_cast<int>(ui::CellAlign::CenterCenter): return "center";
        case static_cast<int>(ui::CellAlign::RightCenter): return "right";
        default: return std::to_string(align);
    }
}

std::string field(const Record& r, size_t i) { return i < r.size() ? r[i] : std::string(); }

}  // namespace

// ---------------------------------------------------------------- descriptions

const Record* Description::find(const std::string& key) const {
    for (const Record& r : records_) {
        if (!r.empty() && r[0] == key) return &r;
    }
    return nullptr;
}

std::vector<const Record*> Description::all(const std::string& key) const {
    std::vector<const Record*> out;
    for (const Record& r : records_) {
        if (!r.empty() && r[0] == key) out.push_back(&r);
    }
    return out;
}

std::string Description::text(const std::string& key, size_t i) const {
    const Record* r = find(key);
    return r ? field(*r, i) : std::string();
}

double Description::number(const std::string& key, size_t i) const {
    const Record* r = find(key);
    return r ? numberField(*r, i) : 0;
}

double numberField(const Record& r, size_t i) { return automation::parseNumber(field(r, i)).value_or(0); }

// ---------------------------------------------------------------- finding and reading

Windows::Windows() : describe_(::RegisterWindowMessageW(automation::kDescribeMessage)) {
    HDC screen = ::GetDC(nullptr);
    twipsPerPixelX_ = 1440.0 / std::max(1, ::GetDeviceCaps(screen, LOGPIXELSX));
    twipsPerPixelY_ = 1440.0 / std::max(1, ::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
}

HWND Windows::innermostForm() const {
    std::vector<HWND> forms;
    for (HWND w : threadWindows()) {
        if (::IsWindowVisible(w) && isAddinForm(w)) forms.push_back(w);
    }
    for (HWND candidate : forms) {
        const bool ownsAnother = std::any_of(forms.begin(), forms.end(),
                                             [&](HWND other) { return ::GetWindow(other, GW_OWNER) == candidate; });
        if (!ownsAnother) return candidate;
    }
    return nullptr;
}

bool Windows::acceptsInput(HWND form) const {
    if (!form || !::IsWindowVisible(form) || !::IsWindowEnabled(form)) return false;
    for (HWND w : threadWindows()) {
        if (::IsWindowVisible(w) && classOf(w) == L"#32770") return false;
    }
    return true;
}

FormView Windows::readForm(HWND form) const {
    FormView v;
    v.hwnd = form;
    const auto records = automation::describe(form, describe_);
    if (!records) throw ScriptError("the window does not describe itself: it is not one of the add-in's");
    const Description d(*records);
    v.name = d.text("form");
    v.caption = windowText(form);
    v.dialog = d.text("style") == "dialog";
    v.width = d.number("outer", 1);
    v.height = d.number("outer", 2);
    v.clientWidth = d.number("client", 1);
    v.clientHeight = d.number("client", 2);
    v.loaded = d.flag("loaded");
    v.shown = d.flag("shown");
    v.minimized = d.flag("minimized");
    const auto byName = namedChildren(form);
    for (const Record* r : d.all("control")) {
        const auto it = byName.find(field(*r, 1));
        if (it != byName.end()) v.controls.push_back(read(it->second));
    }
    return v;
}

std::optional<ControlView> Windows::readControl(HWND form, const std::string& name) const {
    const auto byName = namedChildren(form);
    const auto it = byName.find(name);
    if (it == byName.end()) return std::nullopt;
    return read(it->second);
}

ControlView Windows::read(HWND control) const {
    ControlView v;
    v.hwnd = control;
    if (auto records = automation::describe(control, describe_)) v.about = Description(std::move(*records));
    v.kind = v.about.text("control", 1);
    v.name = v.about.text("control", 2);
    v.container = v.about.text("container");
    v.bounds = {v.about.number("bounds", 1), v.about.number("bounds", 2), v.about.number("bounds", 3),
                v.about.number("bounds", 4)};
    const auto style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    v.visible = (style & WS_VISIBLE) != 0;
    v.enabled = (style & WS_DISABLED) == 0;
    v.focus = ::GetFocus() == control;
    return v;
}

bool Windows::usable(HWND control) const {
    for (HWND w = control; w && !isAddinForm(w); w = ::GetParent(w)) {
        const auto style = static_cast<DWORD>(::GetWindowLongW(w, GWL_STYLE));
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
    }
    return true;
}

std::string Windows::windowText(HWND hwnd) {
    const auto length = static_cast<int>(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const auto got = static_cast<int>(::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return win32::toUtf8(text);
}

int Windows::checkValue(const ControlView& box) const {
    const LRESULT state = ::SendMessageW(box.hwnd, BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

int Windows::scrollValue(const ControlView& bar) const {
    // The window's range starts at 0; the spinner's lower end is what that stands for.
    const Record* range = bar.about.find("range");
    const int lo = range ? static_cast<int>(std::min(numberField(*range, 1), numberField(*range, 2))) : 0;
    return lo + static_cast<int>(::SendMessageW(bar.hwnd, SBM_GETPOS, 0, 0));
}

std::pair<int, int> Windows::selection(const ControlView& box) const {
    DWORD start = 0, end = 0;
    ::SendMessageW(box.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // Characters, not UTF-16 units: a character beyond the BMP is two units.
    const std::wstring text = win32::toUtf16(windowText(box.hwnd));
    auto characters = [&](DWORD units) {
        int n = 0;
        for (size_t i = 0; i < std::min<size_t>(units, text.size()); ++i) {
            if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF)) ++n;
        }
        return n;
    };
    return {characters(start), characters(end) - characters(start)};
}

int Windows::listCount(const ControlView& list) const {
    return static_cast<int>(::SendMessageW(list.hwnd, LVM_GETITEMCOUNT, 0, 0));
}

std::string Windows::listText(const ControlView& list, int row, int column) const {
    std::wstring buffer(1024, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto n = ::SendMessageW(list.hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(&item));
    return win32::toUtf8(std::wstring_view(item.pszText, static_cast<size_t>(std::max<LRESULT>(n, 0))));
}

bool Windows::listChecked(const ControlView& list, int row) const {
    const auto state = static_cast<UINT>(::SendMessageW(list.hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row - 1), LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::optional<int> Windows::listSelected(const ControlView& list) const {
    const auto at = static_cast<int>(::SendMessageW(list.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (at < 0) return std::nullopt;
    return at + 1;
}

// ---------------------------------------------------------------- the dump

std::vector<std::string> Windows::dump(const FormView& form) const {
    std::vector<std::string> lines;
    std::string head = "form " + form.name + " " + quoted(form.caption) + (form.dialog ? " dialog" : " tool") + " outer " +
                       formatNumber(form.width) + "x" + formatNumber(form.height) + " client " +
                       formatNumber(form.clientWidth) + "x" + formatNumber(form.clientHeight);
    head += form.loaded ? " loaded" : " unloaded";
    if (form.shown) head += " shown";
    if (form.minimized) head += " minimized";
    lines.push_back(head);

    std::function<void(const std::string&, int)> children = [&](const std::string& container, int depth) {
        const std::string indent(static_cast<size_t>(depth) * 2, ' ');
        for (const ControlView& c : form.controls) {
            if (c.container != container) continue;
            const Description& d = c.about;
            std::string line = indent + c.kind + " " + c.name + " " + formatNumber(c.bounds.left) + "," +
                               formatNumber(c.bounds.top) + " " + formatNumber(c.bounds.width) + "x" +
                               formatNumber(c.bounds.height);
            if (!c.visible) line += " hidden";
            if (!c.enabled) line += " disabled";
            if (d.flag("focusable") && !d.flag("tabstop")) line += " notab";
            if (c.focus) line += " focus";
            std::vector<std::string> details;
            const auto color = [&](const std::string& key) { return static_cast<uint32_t>(d.number(key)); };
            if (c.kind == "label") {
                line += " caption " + quoted(windowText(c.hwnd));
                if (color("forecolor") != ui::kColorButtonText) line += " color " + formatColor(color("forecolor"));
            } else if (c.kind == "button") {
                line += " caption " + quoted(windowText(c.hwnd));
                if (d.flag("default")) line += " default";
                if (d.flag("cancel")) line += " cancel";
                if (color("facecolor") != ui::kColorButtonFace) line += " face " + formatColor(color("facecolor"));
            } else if (c.kind == "checkbox") {
                line += " value " + std::to_string(checkValue(c)) + " caption " + quoted(windowText(c.hwnd));
            } else if (c.kind == "frame") {
                line += " caption " + quoted(windowText(c.hwnd));
            } else if (c.kind == "textbox") {
                const auto [start, length] = selection(c);
                line += " text " + quoted(windowText(c.hwnd)) + " sel " + std::to_string(start) + "+" + std::to_string(length);
                if (color("backcolor") != ui::kColorWindow) line += " back " + formatColor(color("backcolor"));
            } else if (c.kind == "scrollbar") {
                line += " value " + std::to_string(scrollValue(c)) + " range " + d.text("range", 1) + ".." + d.text("range", 2);
            } else if (c.kind == "listview") {
                const int rows = listCount(c);
                const auto selected = listSelected(c);
                line += " rows " + std::to_string(rows);
                if (selected) line += " selected " + std::to_string(*selected);
                const auto columns = d.all("column");
                if (!columns.empty()) {
                    std::string cols = "columns";
                    for (size_t i = 0; i < columns.size(); ++i) {
                        cols += (i == 0 ? " " : ", ") + quoted(field(*columns[i], 1)) + " " + formatNumber(numberField(*columns[i], 2));
                    }
                    details.push_back(cols);
                }
                std::map<int, std::string> keys;
                for (const Record* k : d.all("key")) keys[static_cast<int>(numberField(*k, 1))] = field(*k, 2);
                for (int r = 1; r <= rows; ++r) {
                    std::string text = (selected == r ? "> " : "  ") + std::to_string(r) + (listChecked(c, r) ? " [x] " : " [ ] ") +
                                       quoted(listText(c, r));
                    if (keys.count(r)) text += " key " + quoted(keys[r]);
                    for (size_t col = 1; col < columns.size(); ++col) text += " | " + quoted(listText(c, r, static_cast<int>(col)));
                    details.push_back(text);
                }
            } else if (c.kind == "grid") {
                const int rows = static_cast<int>(d.number("size", 1)), cols = static_cast<int>(d.number("size", 2));
                line += " rows " + std::to_string(rows) + " cols " + std::to_string(cols) + " fixed " + d.text("size", 3) + "," +
                        d.text("size", 4) + " top " + d.text("scroll", 1) + " left " + d.text("scroll", 2) + " cell " +
                        d.text("current", 1) + "," + d.text("current", 2);
                if (color("backcolor") != ui::kColorWindow) line += " back " + formatColor(color("backcolor"));
                for (const char* key : {"widths", "heights"}) {
                    if (const Record* r = d.find(key)) {
                        std::string text = key;
                        for (size_t i = 1; i < r->size(); ++i) text += " " + formatNumber(numberField(*r, i));
                        details.push_back(text);
                    }
                }
                std::string aligns;
                for (int col = 0; col < cols; ++col) {
                    for (const Record* a : d.all("align")) {
                        if (numberField(*a, 1) == col) aligns += " " + std::to_string(col) + "=" + alignName(static_cast<int>(numberField(*a, 2)));
                    }
                    for (const Record* a : d.all("fixed-align")) {
                        if (numberField(*a, 1) == col) {
                            aligns += " fixed" + std::to_string(col) + "=" + alignName(static_cast<int>(numberField(*a, 2)));
                        }
                    }
                }
                if (!aligns.empty()) details.push_back("align" + aligns);
                std::vector<std::string> rowTexts(static_cast<size_t>(std::max(rows, 0)));
                for (int r = 0; r < rows; ++r) rowTexts[static_cast<size_t>(r)] = std::to_string(r) + ":";
                for (const Record* cell : d.all("cell")) {
                    const int r = static_cast<int>(numberField(*cell, 1)), col = static_cast<int>(numberField(*cell, 2));
                    if (r < 0 || r >= rows) continue;
                    std::string& text = rowTexts[static_cast<size_t>(r)];
                    text += (col == 0 ? " " : " | ") + quoted(field(*cell, 3));
                    if (cell->size() > 4) text += " back " + formatColor(static_cast<uint32_t>(numberField(*cell, 4)));
                }
                details.insert(details.end(), rowTexts.begin(), rowTexts.end());
            } else if (c.kind == "picturebox") {
                if (d.flag("border")) line += " border";
                if (const Record* s = d.find("scale"); s && field(*s, 1) == "user") {
                    line += " scale user " + formatNumber(numberField(*s, 2)) + "," + formatNumber(numberField(*s, 3)) + " " +
                            formatNumber(numberField(*s, 4)) + "x" + formatNumber(numberField(*s, 5));
                } else {
                    line += " scale twips";
                }
                if (color("backcolor") != ui::kColorButtonFace) line += " back " + formatColor(color("backcolor"));
                int items = 0;
                for (const char* kind : {"text", "box", "picture"}) items += static_cast<int>(d.all(kind).size());
                line += " items " + std::to_string(items);
                const auto n = [](const Record& r, size_t i) { return formatNumber(numberField(r, i)); };
                for (const Record& item : d.records()) {
                    if (item[0] == "text") {
                        std::string font = quoted(field(item, 4)) + " " + n(item, 5);
                        if (numberField(item, 6) != 0) font += " bold";
                        if (numberField(item, 7) != 0) font += " italic";
                        details.push_back("text " + n(item, 1) + "," + n(item, 2) + " " + quoted(field(item, 3)) + " font " + font +
                                          " color " + formatColor(static_cast<uint32_t>(numberField(item, 8))));
                    } else if (item[0] == "box") {
                        details.push_back("box " + n(item, 1) + "," + n(item, 2) + " " + n(item, 3) + "x" + n(item, 4) + " color " +
                                          formatColor(static_cast<uint32_t>(numberField(item, 5))));
                    } else if (item[0] == "picture") {
                        details.push_back("picture " + kindOfFormat(static_cast<int>(numberField(item, 1))) + " " + field(item, 2) +
                                          " bytes " + n(item, 3) + "," + n(item, 4) + " " + n(item, 5) + "x" + n(item, 6));
                    }
                }
            } else if (c.kind == "image") {
                line += " picture " + d.text("picture") + " bytes";
                if (d.text("pointer") == "size-we") line += " pointer size-we";
                if (d.text("pointer") == "size-ns") line += " pointer size-ns";
            }
            lines.push_back(line);
            for (const std::string& detail : details) lines.push_back(indent + "    " + detail);
            children(c.name, depth + 1);
        }
    };
    children("", 1);
    return lines;
}

std::string Windows::svg(const ControlView& box) const {
    const Description& d = box.about;
    const double w = box.bounds.width, h = box.bounds.height;
    const auto n = [](double v) { return formatNumber(v); };
    const auto css = [](double color) { return ui::headless::cssColor(static_cast<uint32_t>(color)); };
    const auto xml = [](const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '&') out += "&amp;";
            else if (c == '<') out += "&lt;";
            else if (c == '>') out += "&gt;";
            else if (c == '"') out += "&quot;";
            else if (static_cast<unsigned char>(c) >= 0x20) out.push_back(c);
        }
        return out;
    };
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      n(w / twipsPerPixelX_) + "\" height=\"" + n(h / twipsPerPixelY_) + "\" viewBox=\"0 0 " + n(w) + " " + n(h) +
                      "\">\n<title>" + xml(box.name) + "</title>\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + n(w) + "\" height=\"" + n(h) + "\" fill=\"" + css(d.number("backcolor")) + "\"/>\n";
    const double inset = (w - d.number("inner", 1)) / 2;
    out += "<g transform=\"translate(" + n(inset) + " " + n(inset) + ")\">\n";
    for (const Record* b : d.all("box")) {
        out += "<rect x=\"" + n(numberField(*b, 1)) + "\" y=\"" + n(numberField(*b, 2)) + "\" width=\"" + n(numberField(*b, 3)) +
               "\" height=\"" + n(numberField(*b, 4)) + "\" fill=\"" + css(numberField(*b, 5)) + "\"/>\n";
    }
    // Pictures as the frames they are drawn in: their pixels stay in the window.
    for (const Record* p : d.all("picture")) {
        out += "<rect x=\"" + n(numberField(*p, 3)) + "\" y=\"" + n(numberField(*p, 4)) + "\" width=\"" + n(numberField(*p, 5)) +
               "\" height=\"" + n(numberField(*p, 6)) + "\" fill=\"none\" stroke=\"#A0A0A0\" stroke-width=\"15\"/>\n";
    }
    for (const Record* t : d.all("text")) {
        const double em = numberField(*t, 5) * 20;
        out += "<text x=\"" + n(numberField(*t, 1)) + "\" y=\"" + n(numberField(*t, 2) + em) + "\" font-family=\"" + xml(field(*t, 4)) +
               "\" font-size=\"" + n(em) + "\" fill=\"" + css(numberField(*t, 8)) + "\">" + xml(field(*t, 3)) + "</text>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

// ---------------------------------------------------------------- acting

HWND Windows::focusTarget(HWND form) const {
    HWND focus = ::GetFocus();
    return focus && (focus == form || ::IsChild(form, focus)) ? focus : form;
}

std::vector<Step> Windows::clickAt(HWND hwnd, POINT at, bool doubleClick) const {
    return {once([hwnd, at, doubleClick] {
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point(at));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(at));
        if (doubleClick) {
            ::PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, point(at));
            ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(at));
        }
    })};
}

std::vector<Step> Windows::click(const ControlView& c) const { return clickAt(c.hwnd, centreOf(c.hwnd)); }

std::vector<Step> Windows::selectAll(const ControlView& box) const {
    // Pressed before the first character and dragged past the last, as a user selects.
    HWND hwnd = box.hwnd;
    return {once([hwnd] {
        RECT rc{};
        ::GetClientRect(hwnd, &rc);
        const POINT from{1, (rc.top + rc.bottom) / 2};
        const POINT to{rc.right - 1, from.y};
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point(from));
        ::PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, point(to));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(to));
    })};
}

std::vector<Step> Windows::focus(const ControlView& c) const {
    if (::GetFocus() == c.hwnd) return {};
    if (c.kind == "textbox") {
        // Into the box after its text: the caret goes to the end.
        RECT rc{};
        ::GetClientRect(c.hwnd, &rc);
        return clickAt(c.hwnd, POINT{std::max<LONG>(rc.right - 2, 0), (rc.top + rc.bottom) / 2});
    }
    if (c.kind == "grid") {
        // A fixed cell takes the focus without moving the current cell.
        const Record* cols = c.about.find("col-edges");
        const Record* rows = c.about.find("row-edges");
        if (cols && rows && c.about.number("size", 3) > 0 && c.about.number("size", 4) > 0) {
            return clickAt(c.hwnd, POINT{static_cast<LONG>(numberField(*cols, 1)) + 2, static_cast<LONG>(numberField(*rows, 1)) + 2});
        }
    }
    return click(c);
}

std::vector<Step> Windows::type(HWND form, const std::string& utf8) const {
    std::vector<Step> steps;
    for (char32_t cp : text::utf8::decode(utf8)) {
        // Nobody types a line feed: a new line in a script is the Enter key.
        if (cp == U'\n') {
            for (Step& s : key(form, '\r')) steps.push_back(std::move(s));
            continue;
        }
        steps.push_back(once([this, form, cp] {
            HWND target = focusTarget(form);
            if (cp > 0xFFFF) {
                ::PostMessageW(target, WM_CHAR, 0xD800 + ((cp - 0x10000) >> 10), 1);
                ::PostMessageW(target, WM_CHAR, 0xDC00 + ((cp - 0x10000) & 0x3FF), 1);
            } else {
                ::PostMessageW(target, WM_CHAR, cp, 1);
            }
        }));
    }
    return steps;
}

std::vector<Step> Windows::key(HWND form, int code) const {
    UINT vk = 0;
    switch (code) {
        case '\r': vk = VK_RETURN; break;
        case 27: vk = VK_ESCAPE; break;
        case 8: vk = VK_BACK; break;
        case 9: vk = VK_TAB; break;
        case ' ': vk = VK_SPACE; break;
        default: break;
    }
    if (vk == 0) return type(form, text::utf8::encode(std::u32string(1, static_cast<char32_t>(code))));
    // The key goes down and up; the modal loop turns the press into its character.
    return {once([this, form, vk] { postKeyDown(focusTarget(form), vk); }), once([this, form, vk] { postKeyUp(focusTarget(form), vk); })};
}

std::vector<Step> Windows::spin(const ControlView& bar, bool up) const {
    RECT rc{};
    ::GetClientRect(bar.hwnd, &rc);
    const int arrow = std::min<int>(::GetSystemMetrics(SM_CYVSCROLL), (rc.bottom - rc.top) / 2);
    const POINT at{(rc.left + rc.right) / 2, up ? rc.top + arrow / 2 : rc.bottom - 1 - arrow / 2};
    return clickAt(bar.hwnd, at);
}

std::vector<Step> Windows::clickRow(const ControlView& list, int row, bool onCheckBox) const {
    HWND hwnd = list.hwnd;
    const int index = row - 1;
    auto tries = std::make_shared<int>(0);
    // Scrolled into view first, with the list's scroll bar arrows, then clicked.
    return {[hwnd, index, onCheckBox, tries] {
        RECT item{};
        item.left = LVIR_BOUNDS;
        ::SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        RECT client{};
        ::GetClientRect(hwnd, &client);
        RECT header{};
        if (HWND h = reinterpret_cast<HWND>(::SendMessageW(hwnd, LVM_GETHEADER, 0, 0)); h && ::IsWindowVisible(h)) {
            ::GetClientRect(h, &header);
        }
        const LONG top = header.bottom;
        if ((item.top < top || item.bottom > client.bottom) && ++*tries < kMostScrollSteps) {
            ::PostMessageW(hwnd, WM_VSCROLL, item.top < top ? SB_LINEUP : SB_LINEDOWN, 0);
            return false;
        }
        POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        if (onCheckBox) {
            // The state image is at the row's left; the list view says exactly where.
            for (LONG x = item.left; x < item.left + 24; ++x) {
                LVHITTESTINFO hit{};
                hit.pt = {x, at.y};
                ::SendMessageW(hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
                if (hit.iItem == index && (hit.flags & LVHT_ONITEMSTATEICON)) {
                    at = hit.pt;
                    break;
                }
            }
        } else {
            RECT label{};
            label.left = LVIR_LABEL;
            ::SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&label));
            at = POINT{(label.left + std::min(label.right, client.right)) / 2, (label.top + label.bottom) / 2};
        }
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point(at));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(at));
        return true;
    }};
}

std::vector<Step> Windows::clickCell(const ControlView& grid, int row, int col, bool doubleClick) const {
    HWND hwnd = grid.hwnd;
    const UINT describe = describe_;
    const double tppX = twipsPerPixelX_, tppY = twipsPerPixelY_;
    auto tries = std::make_shared<int>(0);
    return {[hwnd, row, col, doubleClick, describe, tppX, tppY, tries] {
        const auto records = automation::describe(hwnd, describe);
        if (!records) return true;
        const Description d(*records);
        const Record* cols = d.find("col-edges");
        const Record* rows = d.find("row-edges");
        const Record* widths = d.find("widths");
        const Record* heights = d.find("heights");
        if (!cols || !rows || !widths) return true;
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const auto at = static_cast<size_t>(col + 1), down = static_cast<size_t>(row + 1);
        const int left = static_cast<int>(numberField(*cols, at)), top = static_cast<int>(numberField(*rows, down));
        const int width = static_cast<int>(std::lround(numberField(*widths, at) / tppX));
        const int height = static_cast<int>(std::lround((heights ? numberField(*heights, down) : 240) / tppY));
        const POINT centre{left + width / 2, top + height / 2};
        // Out of view: the scroll bar's arrows bring it in.
        if (++*tries < kMostScrollSteps) {
            if (top < 0 || centre.y >= client.bottom) {
                ::PostMessageW(hwnd, WM_VSCROLL, top < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
                return false;
            }
            if (left < 0 || centre.x >= client.right) {
                ::PostMessageW(hwnd, WM_HSCROLL, left < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
                return false;
            }
        }
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point(centre));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(centre));
        if (doubleClick) {
            ::PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, point(centre));
            ::PostMessageW(hwnd, WM_LBUTTONUP, 0, point(centre));
        }
        return true;
    }};
}

std::vector<Step> Windows::scrollTo(const ControlView& grid, int row, std::optional<int> col) const {
    HWND hwnd = grid.hwnd;
    const UINT describe = describe_;
    // One bar after the other, each until it is there or goes no further.
    const auto bar = [hwnd, describe](int field, UINT message, int wanted) -> Step {
        auto last = std::make_shared<int>(-1);
        return [hwnd, describe, field, message, wanted, last] {
            const auto records = automation::describe(hwnd, describe);
            if (!records) return true;
            const int now = static_cast<int>(Description(*records).number("scroll", static_cast<size_t>(field)));
            if (now == wanted || now == *last) return true;
            *last = now;
            ::PostMessageW(hwnd, message, now < wanted ? SB_LINEDOWN : SB_LINEUP, 0);
            return false;
        };
    };
    std::vector<Step> steps{bar(1, WM_VSCROLL, row)};
    if (col) steps.push_back(bar(2, WM_HSCROLL, *col));
    return steps;
}

std::optional<std::pair<int, int>> Windows::cellUnder(const ControlView& grid, const ControlView& other) const {
    if (!::IsWindowVisible(other.hwnd)) return std::nullopt;
    RECT over{};
    ::GetWindowRect(other.hwnd, &over);
    POINT at{(over.left + over.right) / 2, (over.top + over.bottom) / 2};
    ::ScreenToClient(grid.hwnd, &at);
    RECT client{};
    ::GetClientRect(grid.hwnd, &client);
    if (!::PtInRect(&client, at)) return std::nullopt;
    const Description& d = grid.about;
    const Record* cols = d.find("col-edges");
    const Record* rows = d.find("row-edges");
    const Record* widths = d.find("widths");
    const Record* heights = d.find("heights");
    if (!cols || !rows || !widths) return std::nullopt;
    // Edges in pixels (-1: scrolled out of view), sizes in twips.
    const auto find = [](const Record& edges, const std::function<int(size_t)>& size, LONG pos) -> std::optional<int> {
        for (size_t i = 1; i < edges.size(); ++i) {
            const auto edge = static_cast<LONG>(numberField(edges, i));
            if (edge >= 0 && pos >= edge && pos < edge + size(i)) return static_cast<int>(i - 1);
        }
        return std::nullopt;
    };
    const auto col = find(*cols, [&](size_t i) { return static_cast<int>(std::lround(numberField(*widths, i) / twipsPerPixelX_)); }, at.x);
    const auto row = find(*rows, [&](size_t i) {
        return static_cast<int>(std::lround((heights ? numberField(*heights, i) : 240) / twipsPerPixelY_));
    }, at.y);
    if (!row || !col) return std::nullopt;
    return std::make_pair(*row, *col);
}

std::vector<Step> Windows::drag(const ControlView& image, double dxTwips, double dyTwips, int moves) const {
    HWND hwnd = image.hwnd;
    POINT start = centreOf(hwnd);
    ::ClientToScreen(hwnd, &start);
    const LONG dx = std::lround(dxTwips / twipsPerPixelX_), dy = std::lround(dyTwips / twipsPerPixelY_);
    // Screen points, turned into the image's client coordinates where it is at each
    // message: the splitter moves under the mouse.
    const auto at = [hwnd](POINT screen) {
        ::ScreenToClient(hwnd, &screen);
        return point(screen);
    };
    std::vector<Step> steps;
    steps.push_back(once([hwnd, start, at] { ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(start)); }));
    for (int i = 1; i <= moves; ++i) {
        const POINT p{start.x + dx * i / moves, start.y + dy * i / moves};
        steps.push_back(once([hwnd, p, at] { ::PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(p)); }));
    }
    const POINT end{start.x + dx, start.y + dy};
    steps.push_back(once([hwnd, end, at] { ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at(end)); }));
    return steps;
}

std::vector<Step> Windows::resize(HWND form, double widthTwips, double heightTwips) const {
    const LONG w = std::lround(widthTwips / twipsPerPixelX_), h = std::lround(heightTwips / twipsPerPixelY_);
    // What the frame's sizing loop does: the window may change the rectangle (WM_SIZING)
    // and bound it (WM_GETMINMAXINFO) before it is applied.
    return {once([form, w, h] {
        ::SendMessageW(form, WM_ENTERSIZEMOVE, 0, 0);
        RECT rc{};
        ::GetWindowRect(form, &rc);
        rc.right = rc.left + w;
        rc.bottom = rc.top + h;
        ::SendMessageW(form, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&rc));
        MINMAXINFO limits{};
        limits.ptMinTrackSize = {::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
        limits.ptMaxTrackSize = {::GetSystemMetrics(SM_CXMAXTRACK), ::GetSystemMetrics(SM_CYMAXTRACK)};
        ::SendMessageW(form, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        const LONG width = std::clamp<LONG>(rc.right - rc.left, limits.ptMinTrackSize.x, std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
        const LONG height = std::clamp<LONG>(rc.bottom - rc.top, limits.ptMinTrackSize.y, std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
        ::SetWindowPos(form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(form, WM_EXITSIZEMOVE, 0, 0);
    })};
}

std::vector<Step> Windows::systemCommand(HWND form, WPARAM command) const {
    return {once([form, command] { ::PostMessageW(form, WM_SYSCOMMAND, command, 0); })};
}

}  // namespace qm::cli::w32
