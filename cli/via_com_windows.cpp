// The window commands of --via-com: the same lines as with the headless windows, acting
// on and reading the add-in DLL's real windows.
#include "cli/via_com_windows.h"

#include <fstream>
#include <iterator>

#include "cli/session.h"
#include "cli/window_words.h"
#include "core/text/number.h"
#include "core/text/strings.h"
#include "core/ui/draw_scale.h"

namespace qm::cli {

using namespace words;

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 10;
// A window asked to close after a failure is asked again after this many ticks.
constexpr int kCloseAgainTicks = 50;
constexpr int kDragMoves = 4;

std::string colorText(const w32::Description& d, const std::string& key) {
    return std::to_string(static_cast<uint32_t>(d.number(key)));
}

}  // namespace

ComWindows::ComWindows(Session& session) : session_(session) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = timerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuillmarkScriptTicks";
    ::RegisterClassW(&wc);
    timer_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!timer_) throw ScriptAbort("--via-com: cannot make the window that reads the script inside windows");
    ::SetWindowLongPtrW(timer_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetTimer(timer_, kTimer, kTickMs, nullptr);
}

ComWindows::~ComWindows() {
    ::KillTimer(timer_, kTimer);
    ::DestroyWindow(timer_);
    ::UnregisterClassW(L"QuillmarkScriptTicks", ::GetModuleHandleW(nullptr));
}

LRESULT CALLBACK ComWindows::timerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_TIMER && wParam == kTimer) {
        if (auto* self = reinterpret_cast<ComWindows*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            try {
                self->tick();
            } catch (...) {
                // The DLL's loop is below: nothing may pass into it.
                self->failure_ = std::current_exception();
            }
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void ComWindows::tick() {
    // Steps of an action on a window that has gone are dropped.
    std::erase_if(steps_, [](const auto& entry) { return entry.second.empty() || !::IsWindowVisible(entry.first); });
    const HWND form = windows_.innermostForm();
    if (!form || !windows_.acceptsInput(form)) return;
    if (const auto it = steps_.find(form); it != steps_.end()) {
        if (it->second.front()()) it->second.pop_front();
        return;
    }
    if (!running_.empty() && running_.back() == form) return;
    if (failure_) {
        // The user gives up: every window closes with its close box, innermost first.
        if (form != closing_ || ++closingTicks_ >= kCloseAgainTicks) {
            closing_ = form;
            closingTicks_ = 0;
            ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    }
    running_.push_back(form);
    try {
        if (!session_.runNextLine()) throw ScriptError("the script ended while a window was still open");
    } catch (...) {
        failure_ = std::current_exception();
    }
    running_.pop_back();
}

void ComWindows::rethrowFailure() {
    if (!failure_) return;
    const std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
}

HWND ComWindows::activeForm() const {
    const HWND form = windows_.innermostForm();
    if (!form) throw ScriptError("no window is open");
    return form;
}

w32::ControlView ComWindows::control(HWND form, const std::string& name, const std::string& kind, const char* what) const {
    auto c = windows_.readControl(form, name);
    if (!c) throw ScriptError(windows_.readForm(form).name + " has no control \"" + name + "\"");
    if (!kind.empty() && c->kind != kind) throw ScriptError("\"" + name + "\" is not a " + what);
    return *c;
}

void ComWindows::start(HWND form, std::vector<w32::Step> steps) {
    std::deque<w32::Step>& queue = steps_[form];
    queue.assign(std::make_move_iterator(steps.begin()), std::make_move_iterator(steps.end()));
    if (!queue.empty() && queue.front()()) queue.pop_front();
}

// A property of a control as a script checks it: the same names and answers as with the
// headless windows.
std::string ComWindows::property(const w32::ControlView& c, const std::string& prop, Args& a) const {
    const std::string p = text::upperAscii(prop);
    const w32::Description& d = c.about;
    const w32::Windows& w = windows_;
    if (auto v = commonProperty(p, {c.visible, c.enabled, c.focus, d.flag("tabstop"), c.bounds})) return *v;
    const bool captioned = c.kind == "label" || c.kind == "button" || c.kind == "checkbox" || c.kind == "frame";
    if (captioned && p == "CAPTION") return w32::Windows::windowText(c.hwnd);
    if (c.kind == "label" && p == "FORECOLOR") return colorText(d, "forecolor");
    if (c.kind == "button") {
        if (p == "CANCEL") return boolWord(d.flag("cancel"));
        if (p == "FACECOLOR") return colorText(d, "facecolor");
    }
    if (c.kind == "checkbox" && p == "VALUE") return std::to_string(w.checkValue(c));
    if (c.kind == "textbox") {
        if (p == "TEXT") return w32::Windows::windowText(c.hwnd);
        if (p == "SELSTART") return std::to_string(w.selection(c).first);
        if (p == "SELLENGTH") return std::to_string(w.selection(c).second);
    }
    if (c.kind == "scrollbar" && p == "VALUE") return std::to_string(w.scrollValue(c));
    if (c.kind == "listview") {
        const ListRows rows{w.listCount(c), w.listSelected(c), [&](int r) { return w.listChecked(c, r); },
                            [&](int r) { return w.listText(c, r); }};
        if (auto v = listProperty(p, rows, a)) return *v;
        if (p == "COLUMN-WIDTH") {
            const int column = a.nextInt("column");
            const auto columns = d.all("column");
            if (column < 0 || column >= static_cast<int>(columns.size())) throw ScriptError("no column " + std::to_string(column));
            return num(w32::numberField(*columns[static_cast<size_t>(column)], 2));
        }
    }
    if (c.kind == "grid") {
        const int rows = static_cast<int>(d.number("size", 1)), cols = static_cast<int>(d.number("size", 2));
        const auto cell = [&](int r, int col) -> const w32::Record* {
            for (const w32::Record* x : d.all("cell")) {
                if (w32::numberField(*x, 1) == r && w32::numberField(*x, 2) == col) return x;
            }
            return nullptr;
        };
        const auto cellText = [&](int r, int col) {
            const w32::Record* x = cell(r, col);
            return x && x->size() > 3 ? (*x)[3] : std::string();
        };
        if (p == "ROWS") return std::to_string(rows);
        if (p == "TOPROW") return d.text("scroll", 1);
        if (p == "CELL") {
            const int r = a.nextInt("row");
            const int col = a.nextInt("column");
            if (r >= rows || col >= cols) return "none";
            return cellText(r, col);
        }
        if (p == "CELL-COLOR") {
            const int r = a.nextInt("row");
            const int col = a.nextInt("column");
            if (r < 0 || r >= rows || col < 0 || col >= cols) throw ScriptError("no cell " + std::to_string(r) + "," + std::to_string(col));
            const w32::Record* x = cell(r, col);
            return x && x->size() > 4 ? std::to_string(static_cast<uint32_t>(w32::numberField(*x, 4))) : colorText(d, "backcolor");
        }
        if (p == "ROW") {
            const int r = a.nextInt("row");
            std::vector<std::string> cells;
            for (int col = 0; col < cols; ++col) cells.push_back(cellText(r, col));
            return text::join(cells, " | ");
        }
        if (p == "CURRENT") return d.text("current", 1) + "," + d.text("current", 2);
        if (p == "CELL-UNDER") {
            const auto other = control(activeForm(), a.next("control name"), "", "");
            const auto cell = w.cellUnder(c, other);
            return cell ? std::to_string(cell->first) + "," + std::to_string(cell->second) : "none";
        }
    }
    if (c.kind == "picturebox") {
        if (p == "SCALE") return num(d.number("scale-size", 1)) + "x" + num(d.number("scale-size", 2));
        std::vector<const w32::Record*> items;
        for (const w32::Record& r : d.records()) {
            if (r[0] == "text" || r[0] == "box" || r[0] == "picture") items.push_back(&r);
        }
        if (p == "ITEMS") return std::to_string(items.size());
        if (p == "ITEM") {
            // One drawn item in the box's current scale, as the headless box gives it.
            const int i = a.nextInt("item number");
            if (i < 1 || i > static_cast<int>(items.size())) return "none";
            // The box's scale as its record gives it (the DLL refused a zero-sized one).
            ui::DrawScale scale;
            if (const w32::Record* user = d.find("scale"); user && user->size() > 1 && (*user)[1] == "user") {
                const auto g = [&](size_t n) { return w32::numberField(*user, n); };
                scale.setUser(c.name, g(2), g(3), g(4), g(5));
            }
            const double innerW = d.number("inner", 1), innerH = d.number("inner", 2);
            const auto x = [&](double twips) { return num(scale.lengthFromTwipsX(twips, innerW)); };
            const auto y = [&](double twips) { return num(scale.lengthFromTwipsY(twips, innerH)); };
            const w32::Record& r = *items[static_cast<size_t>(i - 1)];
            const auto f = [&](size_t n) { return w32::numberField(r, n); };
            if (r[0] == "text") return "text \"" + r[3] + "\" " + x(f(1)) + "," + y(f(2));
            if (r[0] == "box") return "box " + x(f(1)) + "," + y(f(2)) + " " + x(f(3)) + "x" + y(f(4));
            return "picture " + r[1] + " " + x(f(3)) + "," + y(f(4)) + " " + x(f(5)) + "x" + y(f(6));
        }
    }
    throw ScriptError("unknown property \"" + prop + "\" of " + c.name);
}

void ComWindows::registerCommands() {
    Session& session = session_;
    session.registerCommand("window click", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const std::string name = a.next("control name");
        a.done();
        const auto c = windows_.readControl(form, name);
        if (!c || (c->kind != "button" && c->kind != "checkbox" && c->kind != "label")) {
            throw ScriptError(windows_.readForm(form).name + " has no button, check box or label \"" + name + "\"");
        }
        require(windows_.usable(c->hwnd), "clicking " + name);
        start(form, windows_.click(*c));
    });
    session.registerCommand("window type", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto box = control(form, a.next("text box name"), "textbox", "text box");
        const std::string t = a.next("text");
        a.done();
        require(windows_.usable(box.hwnd), "typing into " + box.name);
        std::vector<w32::Step> steps = windows_.focus(box);
        for (w32::Step& s : windows_.type(form, t)) steps.push_back(std::move(s));
        start(form, std::move(steps));
    });
    // window focus <text box>: the user clicks into the box (the box it leaves validates)
    // and selects its text.
    for (const char* verb : {"window focus", "window select-all"}) {
        session.registerCommand(verb, [this](Session&, Args& a) {
            const HWND form = activeForm();
            const auto box = control(form, a.next("text box name"), "textbox", "text box");
            a.done();
            require(windows_.usable(box.hwnd), "selecting the text of " + box.name);
            start(form, windows_.selectAll(box));
        });
    }
    session.registerCommand("window clear", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto box = control(form, a.next("text box name"), "textbox", "text box");
        a.done();
        require(windows_.usable(box.hwnd), "clearing " + box.name);
        std::vector<w32::Step> steps = windows_.selectAll(box);
        for (w32::Step& s : windows_.key(form, ui::key::kBackspace)) steps.push_back(std::move(s));
        start(form, std::move(steps));
    });
    session.registerCommand("window key", [this](Session&, Args& a) {
        const int code = keyCode(a.next("key"));
        a.done();
        const HWND form = activeForm();
        start(form, windows_.key(form, code));
    });
    session.registerCommand("window spin", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto bar = control(form, a.next("scroll bar name"), "scrollbar", "scroll bar");
        const Spin spin = spinWords(a);
        a.done();
        require(windows_.usable(bar.hwnd), "clicking an arrow of " + bar.name);
        std::vector<w32::Step> steps;
        for (int i = 0; i < spin.times; ++i) {
            for (w32::Step& s : windows_.spin(bar, spin.up)) steps.push_back(std::move(s));
        }
        start(form, std::move(steps));
    });
    for (const char* verb : {"window row", "window check"}) {
        const bool onCheckBox = std::string(verb) == "window check";
        session.registerCommand(verb, [this, onCheckBox](Session&, Args& a) {
            const HWND form = activeForm();
            const auto list = control(form, a.next("list view name"), "listview", "list view");
            const int row = a.nextInt("row");
            a.done();
            require(row >= 1 && row <= windows_.listCount(list) && windows_.usable(list.hwnd),
                    (onCheckBox ? "ticking row " : "clicking row ") + std::to_string(row));
            start(form, windows_.clickRow(list, row, onCheckBox));
        });
    }
    session.registerCommand("window cell", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto grid = control(form, a.next("grid name"), "grid", "grid");
        const int row = a.nextInt("row");
        const int col = a.nextInt("column");
        const bool dbl = a.flag("double");
        a.done();
        const int rows = static_cast<int>(grid.about.number("size", 1)), cols = static_cast<int>(grid.about.number("size", 2));
        require(row >= 0 && row < rows && col >= 0 && col < cols && windows_.usable(grid.hwnd), "clicking the cell");
        start(form, windows_.clickCell(grid, row, col, dbl));
    });
    session.registerCommand("window grid-key", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto grid = control(form, a.next("grid name"), "grid", "grid");
        const int code = keyCode(a.next("key"));
        a.done();
        require(windows_.usable(grid.hwnd), "the key on the grid");
        std::vector<w32::Step> steps = windows_.focus(grid);
        for (w32::Step& s : windows_.key(form, code)) steps.push_back(std::move(s));
        start(form, std::move(steps));
    });
    session.registerCommand("window scroll", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto grid = control(form, a.next("grid name"), "grid", "grid");
        const int row = a.nextInt("top row");
        const auto col = a.nextIf();
        a.done();
        start(form, windows_.scrollTo(grid, row, col ? std::optional<int>(static_cast<int>(text::val(*col))) : std::nullopt));
    });
    session.registerCommand("window resize", [this](Session&, Args& a) {
        const double w = a.nextNumber("width");
        const double h = a.nextNumber("height");
        a.done();
        const HWND form = activeForm();
        const w32::FormView f = windows_.readForm(form);
        require(!f.dialog && !f.minimized, "resizing");
        start(form, windows_.resize(form, w, h));
    });
    session.registerCommand("window minimize", [this](Session&, Args& a) {
        a.done();
        const HWND form = activeForm();
        const w32::FormView f = windows_.readForm(form);
        require(!f.dialog && !f.minimized, "minimising");
        start(form, windows_.systemCommand(form, SC_MINIMIZE));
    });
    session.registerCommand("window restore", [this](Session&, Args& a) {
        a.done();
        const HWND form = activeForm();
        require(windows_.readForm(form).minimized, "restoring");
        start(form, windows_.systemCommand(form, SC_RESTORE));
    });
    session.registerCommand("window drag", [this](Session&, Args& a) {
        const HWND form = activeForm();
        const auto image = control(form, a.next("image name"), "image", "image");
        const double dx = a.nextNumber("dx");
        const double dy = a.nextNumber("dy");
        a.done();
        require(windows_.usable(image.hwnd), "dragging " + image.name);
        start(form, windows_.drag(image, dx, dy, kDragMoves));
    });
    session.registerCommand("window close", [this](Session&, Args& a) {
        a.done();
        const HWND form = activeForm();
        start(form, windows_.systemCommand(form, SC_CLOSE));
    });
    session.registerCommand("window dump", [this](Session& s, Args& a) {
        a.done();
        for (const std::string& line : windows_.dump(windows_.readForm(activeForm()))) s.print("  " + line);
    });
    session.registerCommand("window svg", [this](Session& s, Args& a) {
        const HWND form = activeForm();
        const auto box = control(form, a.next("picture box name"), "picturebox", "picture box");
        const std::string path = a.next("file");
        a.done();
        std::ofstream out(path, std::ios::binary);
        out << windows_.svg(box);
        if (!out) throw ScriptError("cannot write " + path);
        s.print("  [svg] " + path);
    });
    session.registerCommand("expect window", [this](Session&, Args& a) {
        const HWND form = activeForm();
        if (a.accept("caption")) {
            a.accept("=");
            const std::string want = a.rest("caption");
            const std::string found = w32::Windows::windowText(form);
            if (want != found) throw CheckFailed("window caption", want, found);
            return;
        }
        if (a.accept("name")) {
            a.accept("=");
            const std::string want = a.rest("name");
            const std::string found = windows_.readForm(form).name;
            if (want != found) throw CheckFailed("window", want, found);
            return;
        }
        if (a.accept("width") || a.accept("height")) throw ScriptError("use expect form-size");
        const auto c = control(form, a.next("control name"), "", "");
        const std::string prop = a.next("property");
        const std::string found = property(c, prop, a);
        a.accept("=");
        const std::string want = a.rest("expected value");
        if (want != found) throw CheckFailed(c.name + " " + prop, want, found);
    });
    for (const char* verb : {"expect form-size", "expect client-size"}) {
        const bool outer = std::string(verb) == "expect form-size";
        session.registerCommand(verb, [this, outer](Session&, Args& a) {
            const w32::FormView f = windows_.readForm(activeForm());
            const double w = a.nextNumber("width");
            const double h = a.nextNumber("height");
            a.done();
            const std::string want = sizeText(w, h);
            const std::string found = outer ? sizeText(f.width, f.height) : sizeText(f.clientWidth, f.clientHeight);
            if (want != found) throw CheckFailed(outer ? "window size" : "client size", want, found);
        });
    }
    session.registerCommand("expect no-window", [this](Session&, Args& a) {
        a.done();
        if (const HWND form = windows_.innermostForm()) throw CheckFailed("a window is open", "none", windows_.readForm(form).name);
    });
}

}  // namespace qm::cli
