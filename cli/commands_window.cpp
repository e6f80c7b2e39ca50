// Scenario commands that act on the add-in's open window as its user would (click, type,
// press keys, spin, tick rows, edit grid cells, resize, drag splitters, close) and check or
// dump what it shows. They act on the innermost window shown.
#include <fstream>

#include "cli/html_page.h"
#include "cli/html_window.h"
#include "cli/session.h"
#include "cli/window_words.h"
#include "core/text/number.h"
#include "core/text/strings.h"
#include "core/ui/headless/headless.h"

namespace qm::cli {

using namespace words;

namespace {

namespace hl = ui::headless;

hl::Form& activeForm(Session& s) {
    hl::Form* form = s.toolkit().activeForm();
    if (!form) throw ScriptError("no window is open");
    return *form;
}

template <class T>
T& control(Session& s, Args& a, const char* kind) {
    hl::Form& form = activeForm(s);
    const std::string name = a.next(std::string(kind) + " name");
    ui::Control* c = form.find(name);
    if (!c) throw ScriptError(form.name() + " has no control \"" + name + "\"");
    T* typed = dynamic_cast<T*>(c);
    if (!typed) throw ScriptError("\"" + name + "\" is not a " + kind);
    return *typed;
}

// A property of a control as a script checks it.
std::string property(Session& s, ui::Control& c, const std::string& prop, Args& a) {
    const std::string p = text::upperAscii(prop);
    if (auto v = commonProperty(p, {c.visible(), c.enabled(), c.hasFocus(), c.tabStop(), c.bounds()})) return *v;
    if (auto* l = dynamic_cast<ui::Label*>(&c)) {
        if (p == "CAPTION") return l->caption();
        if (p == "FORECOLOR") return std::to_string(l->foreColor());
    }
    if (auto* b = dynamic_cast<ui::Button*>(&c)) {
        if (p == "CAPTION") return b->caption();
        if (p == "CANCEL") return boolWord(b->cancel());
        if (p == "FACECOLOR") return std::to_string(b->faceColor());
    }
    if (auto* k = dynamic_cast<ui::CheckBox*>(&c)) {
        if (p == "CAPTION") return k->caption();
        if (p == "VALUE") return std::to_string(k->value());
    }
    if (auto* f = dynamic_cast<ui::Frame*>(&c)) {
        if (p == "CAPTION") return f->caption();
    }
    if (auto* t = dynamic_cast<ui::TextBox*>(&c)) {
        if (p == "TEXT") return t->text();
        if (p == "SELSTART") return std::to_string(t->selStart());
        if (p == "SELLENGTH") return std::to_string(t->selLength());
    }
    if (auto* v = dynamic_cast<ui::ScrollBar*>(&c)) {
        if (p == "VALUE") return std::to_string(v->value());
    }
    if (auto* l = dynamic_cast<ui::ListView*>(&c)) {
        const ListRows rows{l->count(), l->selectedRow(), [l](int r) { return l->checked(r); },
                            [l](int r) { return l->itemText(r); }};
        if (auto v = listProperty(p, rows, a)) return *v;
        if (p == "COLUMN-WIDTH") return num(l->columnWidth(a.nextInt("column")));
    }
    if (auto* g = dynamic_cast<ui::Grid*>(&c)) {
        if (p == "ROWS") return std::to_string(g->rows());
        if (p == "TOPROW") return std::to_string(g->topRow());
        if (p == "CELL") {
            const int r = a.nextInt("row");
            const int col = a.nextInt("column");
            if (r >= g->rows() || col >= g->cols()) return "none";
            return g->textMatrix(r, col);
        }
        if (p == "CELL-COLOR") {
            const int r = a.nextInt("row");
            const int col = a.nextInt("column");
            return std::to_string(g->cellBackColor(r, col));
        }
        if (p == "ROW") {
            const int r = a.nextInt("row");
            std::vector<std::string> cells;
            for (int col = 0; col < g->cols(); ++col) cells.push_back(g->textMatrix(r, col));
            return text::join(cells, " | ");
        }
        if (p == "CURRENT") return std::to_string(g->row()) + "," + std::to_string(g->col());
        if (p == "CELL-UNDER") {
            // The cell under the middle of another control (the cell editor), as drawn.
            hl::Form& form = activeForm(s);
            const std::string name = a.next("control name");
            ui::Control* other = form.find(name);
            if (!other) throw ScriptError(form.name() + " has no control \"" + name + "\"");
            const ui::Bounds grid = form.absoluteBounds(*g), over = form.absoluteBounds(*other);
            const double x = over.left + over.width / 2 - grid.left, y = over.top + over.height / 2 - grid.top;
            const auto cell = dynamic_cast<hl::Grid&>(*g).cellAt(x, y);
            if (!other->visible() || x >= grid.width || y >= grid.height || !cell) return "none";
            return std::to_string(cell->first) + "," + std::to_string(cell->second);
        }
    }
    if (auto* pb = dynamic_cast<hl::PictureBox*>(&c)) {
        if (p == "SCALE") return num(pb->scaleWidth()) + "x" + num(pb->scaleHeight());
        if (p == "ITEMS") return std::to_string(pb->displayList().size());
        if (p == "ITEM") {
            // One drawn item in the box's current scale: "picture 14 5,5 100x50",
            // "text \" 1\" 3,4", "box 1,2 2x2 #FF0000".
            const int i = a.nextInt("item number");
            const auto& list = pb->displayList();
            if (i < 1 || i > static_cast<int>(list.size())) return "none";
            auto x = [&](double t) { return num(pb->lengthFromTwipsX(t)); };
            auto y = [&](double t) { return num(pb->lengthFromTwipsY(t)); };
            const auto& item = list[static_cast<size_t>(i - 1)];
            if (const auto* t = std::get_if<hl::DrawnText>(&item)) return "text \"" + t->text + "\" " + x(t->x) + "," + y(t->y);
            if (const auto* b = std::get_if<hl::DrawnBox>(&item)) {
                return "box " + x(b->left) + "," + y(b->top) + " " + x(b->width) + "x" + y(b->height);
            }
            const auto& pic = std::get<hl::DrawnPicture>(item);
            return "picture " + std::to_string(pic.format) + " " + x(pic.left) + "," + y(pic.top) + " " + x(pic.width) +
                   "x" + y(pic.height);
        }
    }
    (void)s;
    throw ScriptError("unknown property \"" + prop + "\" of " + c.name());
}

}  // namespace

void registerWindowCommands(Session& session) {
    session.registerCommand("window click", [](Session& s, Args& a) {
        hl::Form& form = activeForm(s);
        const std::string name = a.next("control name");
        a.done();
        ui::Control* c = form.find(name);
        if (auto* b = dynamic_cast<hl::Button*>(c)) require(b->userClick(), "clicking " + name);
        else if (auto* k = dynamic_cast<hl::CheckBox*>(c)) require(k->userClick(), "clicking " + name);
        else if (auto* l = dynamic_cast<hl::Label*>(c)) require(l->userClick(), "clicking " + name);
        else throw ScriptError(form.name() + " has no button, check box or label \"" + name + "\"");
    });
    // window type <text box> "<text>"
    session.registerCommand("window type", [](Session& s, Args& a) {
        hl::TextBox& box = control<hl::TextBox>(s, a, "text box");
        const std::string t = a.next("text");
        a.done();
        require(box.userType(t), "typing into " + box.name());
    });
    // window focus <text box>: the user clicks into the box (the box it leaves validates)
    session.registerCommand("window focus", [](Session& s, Args& a) {
        hl::TextBox& box = control<hl::TextBox>(s, a, "text box");
        a.done();
        require(box.userSelectAll(), "moving into " + box.name());
    });
    session.registerCommand("window select-all", [](Session& s, Args& a) {
        hl::TextBox& box = control<hl::TextBox>(s, a, "text box");
        a.done();
        require(box.userSelectAll(), "selecting the text of " + box.name());
    });
    // window clear <text box>: select everything and delete it
    session.registerCommand("window clear", [](Session& s, Args& a) {
        hl::TextBox& box = control<hl::TextBox>(s, a, "text box");
        a.done();
        require(box.userSelectAll() && box.userKey(ui::key::kBackspace), "clearing " + box.name());
    });
    // window key <Enter|Escape|Backspace|Tab|character>: to the focused control
    session.registerCommand("window key", [](Session& s, Args& a) {
        const int code = keyCode(a.next("key"));
        a.done();
        require(activeForm(s).userKey(code), "the key");
    });
    // window spin <scroll bar> up|down [times]
    session.registerCommand("window spin", [](Session& s, Args& a) {
        hl::ScrollBar& bar = control<hl::ScrollBar>(s, a, "scroll bar");
        const Spin spin = spinWords(a);
        a.done();
        for (int i = 0; i < spin.times; ++i) require(bar.userClickArrow(spin.up), "clicking an arrow of " + bar.name());
    });
    // window row <list view> <row>: a click on the row
    session.registerCommand("window row", [](Session& s, Args& a) {
        hl::ListView& list = control<hl::ListView>(s, a, "list view");
        const int row = a.nextInt("row");
        a.done();
        require(list.userClickRow(row), "clicking row " + std::to_string(row));
    });
    // window check <list view> <row>: a click on the row's check box
    session.registerCommand("window check", [](Session& s, Args& a) {
        hl::ListView& list = control<hl::ListView>(s, a, "list view");
        const int row = a.nextInt("row");
        a.done();
        require(list.userToggleCheck(row), "ticking row " + std::to_string(row));
    });
    // window cell <grid> <row> <column> [double]
    session.registerCommand("window cell", [](Session& s, Args& a) {
        hl::Grid& grid = control<hl::Grid>(s, a, "grid");
        const int row = a.nextInt("row");
        const int col = a.nextInt("column");
        const bool dbl = a.flag("double");
        a.done();
        require(dbl ? grid.userDoubleClickCell(row, col) : grid.userClickCell(row, col), "clicking the cell");
    });
    // window grid-key <grid> <key>
    session.registerCommand("window grid-key", [](Session& s, Args& a) {
        hl::Grid& grid = control<hl::Grid>(s, a, "grid");
        const int code = keyCode(a.next("key"));
        a.done();
        require(grid.userKey(code), "the key on the grid");
    });
    // window scroll <grid> <top row> [<left column>]: the user scrolls the grid
    session.registerCommand("window scroll", [](Session& s, Args& a) {
        hl::Grid& grid = control<hl::Grid>(s, a, "grid");
        const int row = a.nextInt("top row");
        const auto col = a.nextIf();
        a.done();
        grid.setTopRow(row);
        if (col) grid.setLeftCol(static_cast<int>(text::val(*col)));
    });
    // window resize <width> <height> (outer size in twips)
    session.registerCommand("window resize", [](Session& s, Args& a) {
        const double w = a.nextNumber("width");
        const double h = a.nextNumber("height");
        a.done();
        require(activeForm(s).userResize(w, h), "resizing");
    });
    session.registerCommand("window minimize", [](Session& s, Args& a) {
        a.done();
        require(activeForm(s).userMinimize(), "minimising");
    });
    session.registerCommand("window restore", [](Session& s, Args& a) {
        a.done();
        require(activeForm(s).userRestore(), "restoring");
    });
    // window drag <image> <dx> <dy>: press on the middle of the image, move, release
    session.registerCommand("window drag", [](Session& s, Args& a) {
        hl::Image& image = control<hl::Image>(s, a, "image");
        const double dx = a.nextNumber("dx");
        const double dy = a.nextNumber("dy");
        a.done();
        const ui::Bounds b = activeForm(s).absoluteBounds(image);
        const double x = b.left + b.width / 2;
        const double y = b.top + b.height / 2;
        require(image.userDrag(x, y, x + dx, y + dy, 4), "dragging " + image.name());
    });
    session.registerCommand("window close", [](Session& s, Args& a) {
        a.done();
        require(activeForm(s).userClose(), "closing the window");
    });
    session.registerCommand("window dump", [](Session& s, Args& a) {
        a.done();
        const hl::Form& form = activeForm(s);
        for (const std::string& line : text::split(form.dump(), '\n')) {
            if (!line.empty()) s.printDetail("  " + line);
        }
        if (auto* page = s.page()) page->picture(html::windowPicture(form));
    });
    // window svg <picture box> <file>
    session.registerCommand("window svg", [](Session& s, Args& a) {
        hl::PictureBox& box = control<hl::PictureBox>(s, a, "picture box");
        const std::string path = a.next("file");
        a.done();
        std::ofstream out(path, std::ios::binary);
        out << box.toSvg();
        if (!out) throw ScriptError("cannot write " + path);
        s.print("  [svg] " + path);
    });
    // expect window <control> <property> = <value> | expect window caption = <value>
    session.registerCommand("expect window", [](Session& s, Args& a) {
        hl::Form& form = activeForm(s);
        if (a.accept("caption")) {
            a.accept("=");
            const std::string want = s.shownText(a.rest("caption"));
            if (want != form.caption()) throw CheckFailed("window caption", want, form.caption());
            return;
        }
        if (a.accept("name")) {
            a.accept("=");
            const std::string want = a.rest("name");
            if (want != form.name()) throw CheckFailed("window", want, form.name());
            return;
        }
        if (a.accept("width") || a.accept("height")) throw ScriptError("use expect form-size");
        const std::string name = a.next("control name");
        ui::Control* c = form.find(name);
        if (!c) throw ScriptError(form.name() + " has no control \"" + name + "\"");
        const std::string prop = a.next("property");
        const std::string found = property(s, *c, prop, a);
        a.accept("=");
        std::string want = a.rest("expected value");
        if (text::equalsIgnoreCase(prop, "caption")) want = s.shownText(want);
        if (want != found) throw CheckFailed(name + " " + prop, want, found);
    });
    // expect form-size <width> <height> | expect client-size <width> <height>
    session.registerCommand("expect form-size", [](Session& s, Args& a) {
        hl::Form& form = activeForm(s);
        const double w = a.nextNumber("width");
        const double h = a.nextNumber("height");
        a.done();
        const std::string want = sizeText(w, h);
        const std::string found = sizeText(form.width(), form.height());
        if (want != found) throw CheckFailed("window size", want, found);
    });
    session.registerCommand("expect client-size", [](Session& s, Args& a) {
        hl::Form& form = activeForm(s);
        const double w = a.nextNumber("width");
        const double h = a.nextNumber("height");
        a.done();
        const std::string want = sizeText(w, h);
        const std::string found = sizeText(form.scaleWidth(), form.scaleHeight());
        if (want != found) throw CheckFailed("client size", want, found);
    });
    session.registerCommand("expect no-window", [](Session& s, Args& a) {
        a.done();
        if (hl::Form* f = s.toolkit().activeForm()) throw CheckFailed("a window is open", "none", f->name());
    });
}

}  // namespace qm::cli
