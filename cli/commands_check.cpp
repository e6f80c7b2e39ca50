// Scenario checks: "expect ..." lines compare what the user and the host see with the
// expected value and stop the run with the line, the expectation and what was found.
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "cli/session.h"
#include "cli/window_words.h"
#include "core/host/constants.h"
#include "core/picture/bmp.h"
#include "core/text/number.h"
#include "core/text/strings.h"

namespace qm::cli {

sim::ControlNodePtr findControlArg(Session& s, Args& a);

namespace {

using words::boolWord;

std::string number(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    return text::fixedText(v, 2);
}

std::string colorWord(int32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "&H%06X", static_cast<unsigned>(c));
    return buf;
}

// The value after an optional "=".
std::string expected(Args& a) {
    a.accept("=");
    return a.rest("expected value");
}

// Numbers compare with a tolerance of half a hundredth; everything else as text.
void compare(const std::string& what, const std::string& want, const std::string& found) {
    char* end1 = nullptr;
    char* end2 = nullptr;
    const double w = std::strtod(want.c_str(), &end1);
    const double f = std::strtod(found.c_str(), &end2);
    const bool numeric = !want.empty() && !found.empty() && !*end1 && !*end2;
    if (numeric ? std::fabs(w - f) <= 0.005 : want == found) return;
    throw CheckFailed(what, want, found);
}

std::string barProperty(Session& s, const sim::BarNodePtr& bar, const std::string& prop) {
    auto h = s.host().barHandle(bar);
    const std::string p = text::upperAscii(prop);
    if (p == "VISIBLE") return boolWord(h->visible());
    if (p == "ENABLED") return boolWord(h->enabled());
    if (p == "POSITION") return number(h->position());
    if (p == "ROW") return number(h->rowIndex());
    if (p == "LEFT") return number(h->left());
    if (p == "TOP") return number(h->top());
    if (p == "WIDTH") return number(h->width());
    if (p == "PROTECTION") return number(h->protection());
    if (p == "TYPE") return number(h->type());
    if (p == "INDEX") return number(h->index());
    if (p == "COUNT") return number(h->controls()->count());
    if (p == "TEMPORARY") return boolWord(bar->temporary);
    throw ScriptError("unknown bar property \"" + prop + "\"");
}

std::string controlProperty(Session& s, const sim::ControlNodePtr& node, const std::string& prop) {
    const std::string p = text::upperAscii(prop);
    if (p == "CAPTION") return node->caption;
    if (p == "TAG") return node->tag;
    if (p == "ID") return number(node->id);
    if (p == "TYPE") return number(node->type);
    if (p == "FACE") {
        if (node->pastedFace) return "pasted(" + number(node->pastedFace->width) + "x" + number(node->pastedFace->height) + ")";
        return number(node->faceId);
    }
    if (p == "STYLE") return number(node->style);
    if (p == "STATE") return number(s.host().controlState(node));
    if (p == "GROUP") return boolWord(node->beginGroup);
    if (p == "ENABLED") return boolWord(s.host().controlEnabled(node));
    if (p == "VISIBLE") return boolWord(node->visible);
    if (p == "ONACTION") return node->onAction;
    if (p == "WIDTH") return number(s.host().controlHandle(node)->width());
    if (p == "COUNT") return number(node->subBar ? node->subBar->controls.size() : 0);
    if (p == "TEMPORARY") return boolWord(node->temporary);
    throw ScriptError("unknown control property \"" + prop + "\"");
}

std::string hostProperty(Session& s, const std::string& prop, Args& a) {
    const std::string p = text::upperAscii(prop);
    if (p == "SCREEN-UPDATING") return boolWord(s.host().screenUpdating());
    if (p == "FORMULA-BAR") return boolWord(s.host().displayFormulaBar());
    if (p == "FULL-SCREEN") return boolWord(s.host().displayFullScreen());
    if (p == "SELECT-OBJECTS") return boolWord(s.host().toggle(host::ctl::kSelectObjects));
    if (p == "SNAP-TO-GRID") return boolWord(s.host().toggle(host::ctl::kSnapToGrid));
    if (p == "SNAP-TO-SHAPE") return boolWord(s.host().toggle(host::ctl::kSnapToShape));
    if (p == "LIVE-HANDLES") return number(static_cast<double>(s.host().liveHandles()));
    if (p == "LIVE-SUBSCRIPTIONS") return number(static_cast<double>(s.host().liveSubscriptions()));
    if (p == "CONNECTED") return boolWord(s.connected());
    if (p == "CALLS") return number(static_cast<double>(s.host().calls(a.next("member"))));
    if (p == "CONNECT-WRITES") {
        std::vector<std::string> words;
        if (s.addinRecord()) {
            for (bool b : s.addinRecord()->connectWrites()) words.push_back(boolWord(b));
        }
        return text::join(words, ",");
    }
    if (p == "ACTIVE-SHEET") {
        auto sheet = s.host().activeSheet();
        return sheet ? sheet->name : "none";
    }
    if (p == "SHEETS") {
        auto book = s.host().activeWorkbook();
        std::vector<std::string> names;
        if (book) {
            for (const auto& sh : book->sheets) names.push_back(sh->name);
        }
        return text::join(names, ",");
    }
    if (p == "SAVE-AS-FILTER-INDEX") {
        const auto& r = s.host().saveAsRequests();
        return r.empty() ? "none" : number(r.back().filterIndex);
    }
    if (p == "SAVE-AS-REQUESTS") return number(static_cast<double>(s.host().saveAsRequests().size()));
    if (p == "EXECUTED") return text::join(s.host().executedControls(), ",");
    throw ScriptError("unknown host property \"" + prop + "\"");
}

sim::SheetNodePtr findSheet(Session& s, const std::string& name) {
    auto book = s.host().activeWorkbook();
    if (!book) return nullptr;
    for (const auto& sheet : book->sheets) {
        if (text::equalsIgnoreCase(sheet->name, name)) return sheet;
    }
    return nullptr;
}

std::string sheetProperty(const sim::SheetNodePtr& sheet, const std::string& prop) {
    const std::string p = text::upperAscii(prop);
    if (p == "COLUMN-WIDTH") return number(sheet->columnWidth);
    if (p == "ROW-HEIGHT") return number(sheet->rowHeight);
    if (p == "GRIDLINES") return boolWord(sheet->gridlines);
    if (p == "BACKGROUND") {
        if (!sheet->background) return "none";
        return sheet->background->solidColor ? colorWord(*sheet->background->solidColor) : "picture";
    }
    if (p == "SHAPES") {
        std::vector<std::string> names;
        for (const auto& o : sheet->shapes) names.push_back(o->name);
        return text::join(names, ",");
    }
    throw ScriptError("unknown sheet property \"" + prop + "\"");
}

std::string shapeProperty(Session& s, const sim::DrawingObjectPtr& obj, const std::string& prop, Args& a) {
    const std::string p = text::upperAscii(prop);
    if (p == "LEFT") return number(obj->left);
    if (p == "TOP") return number(obj->top);
    if (p == "WIDTH") return number(obj->width);
    if (p == "HEIGHT") return number(obj->height);
    if (p == "ROTATION") return number(obj->rotation);
    if (p == "VISIBLE") return boolWord(obj->visible);
    if (p == "3D") return boolWord(obj->threeD);
    if (p == "SHADOW") return boolWord(obj->shadow);
    if (p == "VALIGN") return number(obj->verticalAlignment);
    if (p == "AUTOSIZE") return boolWord(obj->autoSize);
    if (p == "SELECTED") {
        for (const auto& o : s.host().selectedShapes()) {
            if (o == obj) return "True";
        }
        return "False";
    }
    if (p == "ZORDER") {
        auto sheet = obj->sheet.lock();
        for (size_t i = 0; sheet && i < sheet->shapes.size(); ++i) {
            if (sheet->shapes[i] == obj) return number(static_cast<double>(i + 1));
        }
        return "none";
    }
    if (p == "NODE") {
        const int i = a.nextInt("node number");
        const std::string axis = text::upperAscii(a.next("x or y"));
        if (i < 1 || static_cast<size_t>(i) > obj->nodes.size()) return "none";
        return number(axis == "X" ? obj->nodes[i - 1].x : obj->nodes[i - 1].y);
    }
    throw ScriptError("unknown shape property \"" + prop + "\"");
}

}  // namespace

void registerCheckCommands(Session& session) {
    // expect message "<text>" [style=<n>] [title="<title>"]: the next message box shown
    session.registerCommand("expect message", [](Session& s, Args& a) {
        const std::string text = a.next("message text");
        const auto style = a.option("style");
        const auto title = a.option("title");
        a.done();
        const scripted::Event* e = s.nextUncheckedMessage();
        if (!e) throw CheckFailed("no message box was shown", text, "none");
        compare("message text", s.shownText(text), e->text);
        if (style) compare("message style", *style, std::to_string(e->style));
        if (title) compare("message title", s.shownText(*title), e->title);
    });
    // expect message-start "<text>": the next message box not yet checked begins so (for
    // messages that end with the system's own words)
    session.registerCommand("expect message-start", [](Session& s, Args& a) {
        const std::string text = a.next("message text");
        a.done();
        const scripted::Event* e = s.nextUncheckedMessage();
        if (!e) throw CheckFailed("no message box was shown", text + "...", "none");
        if (!text::startsWith(e->text, text)) throw CheckFailed("message text", text + "...", e->text);
    });
    // expect no-message: the last command showed no message box
    session.registerCommand("expect no-message", [](Session& s, Args& a) {
        a.done();
        if (const size_t n = s.messagesOfLastCommand()) {
            throw CheckFailed("the last command showed a message box", "none",
                              s.messageBox().shown()[s.messageBox().shown().size() - n].text);
        }
    });
    // expect beeps <n>: beeps so far
    session.registerCommand("expect beeps", [](Session& s, Args& a) {
        compare("beeps", expected(a), std::to_string(s.sound().beeps()));
    });
    // expect opened "<address>": the address opened last
    session.registerCommand("expect opened", [](Session& s, Args& a) {
        const std::string want = expected(a);
        const auto& opened = s.shell().opened();
        compare("address opened", want, opened.empty() ? "none" : opened.back());
    });
    // expect bar "<name>" <property> = <value> | missing | exists
    session.registerCommand("expect bar", [](Session& s, Args& a) {
        const std::string name = a.next("bar name");
        auto bar = s.host().findBar(name);
        if (a.accept("missing")) {
            a.done();
            if (bar) throw CheckFailed("bar \"" + name + "\" exists", "missing", "exists");
            return;
        }
        if (a.accept("exists")) {
            a.done();
            if (!bar) throw CheckFailed("bar \"" + name + "\" is missing", "exists", "missing");
            return;
        }
        if (!bar) throw CheckFailed("bar \"" + name + "\" is missing", "a bar", "none");
        const std::string prop = a.next("property");
        compare("bar \"" + name + "\" " + prop, expected(a), barProperty(s, bar, prop));
    });
    // expect control "<path>" | tag <tag>  <property> = <value> | missing
    session.registerCommand("expect control", [](Session& s, Args& a) {
        if (a.flag("missing")) {
            const bool byTag = a.accept("tag");
            const std::string where = a.next("control path");
            a.done();
            auto node = byTag ? s.host().findByTag(where) : s.findByPath(where);
            if (node) throw CheckFailed("control \"" + where + "\" exists", "missing", "exists");
            return;
        }
        auto node = findControlArg(s, a);
        const std::string prop = a.next("property");
        std::string want = expected(a);
        if (text::equalsIgnoreCase(prop, "caption")) want = s.shownText(want);
        compare("control " + prop, want, controlProperty(s, node, prop));
    });
    // expect host <property> = <value>
    session.registerCommand("expect host", [](Session& s, Args& a) {
        const std::string prop = a.next("property");
        const std::string found = hostProperty(s, prop, a);
        compare("host " + prop, expected(a), found);
    });
    // expect sheet "<name>" <property> = <value> | missing | exists
    session.registerCommand("expect sheet", [](Session& s, Args& a) {
        const std::string name = a.next("sheet name");
        auto sheet = findSheet(s, name);
        if (a.accept("missing")) {
            a.done();
            if (sheet) throw CheckFailed("sheet \"" + name + "\" exists", "missing", "exists");
            return;
        }
        if (!sheet) throw CheckFailed("no sheet \"" + name + "\"", name, "none");
        const std::string prop = a.next("property");
        compare("sheet \"" + name + "\" " + prop, expected(a), sheetProperty(sheet, prop));
    });
    // expect shape "<name>" <property> = <value>  (node <i> x|y for freeform nodes)
    session.registerCommand("expect shape", [](Session& s, Args& a) {
        const std::string name = a.next("shape name");
        auto sheet = s.host().activeSheet();
        auto obj = sheet ? s.host().findShape(sheet, name) : nullptr;
        if (!obj) throw CheckFailed("no shape \"" + name + "\" on the active sheet", name, "none");
        const std::string prop = a.next("property");
        const std::string found = shapeProperty(s, obj, prop, a);
        compare("shape \"" + name + "\" " + prop, expected(a), found);
    });
    // expect setting <section> <key> = <value> | missing
    session.registerCommand("expect setting", [](Session& s, Args& a) {
        const std::string section = a.next("section");
        const std::string key = a.next("key");
        const auto stored = s.services().settings.read(settings::kApp, section, key);
        if (a.accept("missing")) {
            a.done();
            if (stored) throw CheckFailed(section + "\\" + key + " is stored", "missing", *stored);
            return;
        }
        compare("setting " + section + "\\" + key, expected(a), stored.value_or("(missing)"));
    });
    // expect clipboard text = "<text>" | formats = 1,2,14
    session.registerCommand("expect clipboard", [](Session& s, Args& a) {
        auto& clip = s.host().clipboard();
        if (a.accept("text")) {
            compare("clipboard text", expected(a), clip.getText(platform::cf::kText).value_or("(none)"));
        } else if (a.accept("formats")) {
            std::vector<std::string> formats;
            for (int32_t f : {1, 2, 3, 8, 9, 14, -16640}) {
                if (clip.hasFormat(f)) formats.push_back(std::to_string(f));
            }
            compare("clipboard formats", expected(a), text::join(formats, ","));
        } else {
            throw ScriptError("expect clipboard text or formats");
        }
    });
    // expect file "<path>" exists | missing | bmp <w>x<h> | emf | size <bytes>
    session.registerCommand("expect file", [](Session& s, Args& a) {
        const std::string path = a.next("path");
        auto bytes = s.files().readFile(path);
        if (a.accept("missing")) {
            a.done();
            if (bytes) throw CheckFailed(path + " exists", "missing", "exists");
            return;
        }
        if (!bytes) throw CheckFailed(path + " does not exist", "a file", "none");
        if (a.accept("exists")) {
            a.done();
        } else if (a.accept("bmp")) {
            auto img = picture::decodeBmp(*bytes);
            compare(path + " as a bitmap", expected(a), img ? std::to_string(img->width) + "x" + std::to_string(img->height) : "not a bitmap");
        } else if (a.accept("emf")) {
            a.done();
            const bool emf = bytes->size() >= 44 && (*bytes)[0] == 1 && (*bytes)[40] == ' ' && (*bytes)[41] == 'E' &&
                             (*bytes)[42] == 'M' && (*bytes)[43] == 'F';
            if (!emf) throw CheckFailed(path + " is not an enhanced metafile", "EMF", "other data");
        } else {
            throw ScriptError("expect file <path> exists, missing, bmp or emf");
        }
    });
}

}  // namespace qm::cli
