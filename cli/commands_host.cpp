// Scenario commands that set up and act on the simulated host as its user would:
// version and locale, workbooks, sheets, shapes, selection, cell editing, bars, the
// clipboard, the Save As dialog's answers and failure injection.
#include <cstdlib>

#include "cli/session.h"
#include "core/host/constants.h"
#include "core/picture/bmp.h"
#include "core/picture/emf.h"
#include "core/text/number.h"
#include "core/text/strings.h"

namespace qm::cli {
namespace {

using sim::ShapeKind;

sim::SheetNodePtr requireSheet(Session& s, const std::string& name) {
    auto book = s.host().activeWorkbook();
    if (!book) throw ScriptError("no workbook is open");
    for (const auto& sheet : book->sheets) {
        if (text::equalsIgnoreCase(sheet->name, name)) return sheet;
    }
    throw ScriptError("no sheet named \"" + name + "\"");
}

float numberOption(Args& a, const std::string& key, float fallback) {
    auto v = a.option(key);
    if (!v) return fallback;
    char* end = nullptr;
    const double d = std::strtod(v->c_str(), &end);
    if (v->empty() || *end) throw ScriptError(key + "= must be a number, found \"" + *v + "\"");
    return static_cast<float>(d);
}

// "x,y;x,y,editing,segment;..." in points.
std::vector<sim::PathNode> parseNodes(const std::string& list) {
    std::vector<sim::PathNode> nodes;
    for (const std::string& item : text::split(list, ';')) {
        if (text::trim(item).empty()) continue;
        const auto parts = text::split(item, ',');
        if (parts.size() != 2 && parts.size() != 4) throw ScriptError("a node is x,y or x,y,editing,segment: \"" + item + "\"");
        sim::PathNode n;
        n.x = static_cast<float>(text::val(parts[0]));
        n.y = static_cast<float>(text::val(parts[1]));
        if (parts.size() == 4) {
            n.editingType = static_cast<int32_t>(text::val(parts[2]));
            n.segmentType = static_cast<int32_t>(text::val(parts[3]));
        }
        nodes.push_back(n);
    }
    return nodes;
}

ShapeKind parseKind(Args& a, sim::ShapeInit& init) {
    const std::string kind = text::upperAscii(a.next("shape kind"));
    if (kind == "RECTANGLE") return ShapeKind::AutoShape;
    if (kind == "OVAL") {
        init.autoShapeType = host::msoShapeOval;
        return ShapeKind::AutoShape;
    }
    if (kind == "AUTOSHAPE") {
        init.autoShapeType = a.nextInt("AutoShape type");
        return ShapeKind::AutoShape;
    }
    if (kind == "TEXTBOX") return ShapeKind::TextBox;
    if (kind == "LINE") return ShapeKind::Line;
    if (kind == "FREEFORM") return ShapeKind::Freeform;
    if (kind == "GROUP") return ShapeKind::Group;
    if (kind == "PICTURE") return ShapeKind::Picture;
    if (kind == "CHART") return ShapeKind::Chart;
    if (kind == "COMMENT") return ShapeKind::Comment;
    if (kind == "FORM-CONTROL") return ShapeKind::FormControl;
    if (kind == "OLE-CONTROL") return ShapeKind::OleControl;
    throw ScriptError("unknown shape kind \"" + kind + "\"");
}

// shape <kind> <name> [left= top= width= height= rotation= text= valign= nodes= members=
// fill= line=] [hidden] [3d] [shadow] [nofill] [noline] [autosize]
sim::DrawingObjectPtr addShape(Session& s, Args& a, bool drawn) {
    sim::ShapeInit init;
    init.kind = parseKind(a, init);
    init.name = a.next("shape name");
    init.left = numberOption(a, "left", 10);
    init.top = numberOption(a, "top", 10);
    init.width = numberOption(a, "width", 72);
    init.height = numberOption(a, "height", 36);
    init.rotation = numberOption(a, "rotation", 0);
    if (auto t = a.option("text")) init.text = *t;
    if (auto n = a.option("nodes")) init.nodes = parseNodes(*n);
    if (auto m = a.option("members")) init.members = text::split(*m, ',');
    auto valign = a.option("valign");
    auto fill = a.option("fill");
    auto line = a.option("line");
    const bool hidden = a.flag("hidden");
    const bool threeD = a.flag("3d");
    const bool shadow = a.flag("shadow");
    const bool noFill = a.flag("nofill");
    const bool noLine = a.flag("noline");
    const bool autoSize = a.flag("autosize");
    a.done();
    auto sheet = s.host().activeSheet();
    if (!sheet) throw ScriptError("no sheet is active");
    sim::DrawingObjectPtr obj = drawn ? s.host().drawShape(init) : s.host().addShape(sheet, init);
    obj->visible = !hidden;
    obj->threeD = threeD;
    obj->shadow = shadow;
    obj->fill = !noFill;
    obj->line = !noLine;
    obj->autoSize = autoSize;
    if (fill) obj->fillColor = parseColor(*fill);
    if (line) obj->lineColor = parseColor(*line);
    if (valign) {
        const std::string v = text::upperAscii(*valign);
        obj->verticalAlignment = v == "TOP"      ? host::xlTop
                                 : v == "CENTER" ? host::xlCenter
                                 : v == "BOTTOM" ? host::xlBottom
                                 : v == "JUSTIFY" ? host::xlJustify
                                                  : static_cast<int32_t>(text::val(v));
    }
    return obj;
}

}  // namespace

void registerHostCommands(Session& session) {
    session.registerCommand("host version", [](Session& s, Args& a) {
        s.host().setVersion(a.next("version"));
        a.done();
    });
    // host locale Japan | "United States" | none
    session.registerCommand("host locale", [](Session& s, Args& a) {
        const std::string country = a.rest("country");
        s.locale().setCountry(text::equalsIgnoreCase(country, "none") ? std::nullopt : std::optional(country));
    });
    session.registerCommand("host top", [](Session& s, Args& a) {
        s.host().setApplicationTop(a.nextNumber("top"));
        a.done();
    });
    // host window <left> <top> <right> <bottom> | none
    session.registerCommand("host window", [](Session& s, Args& a) {
        if (a.accept("none")) {
            s.host().setMainWindowRect(std::nullopt);
        } else {
            platform::Rect r;
            r.left = a.nextInt("left");
            r.top = a.nextInt("top");
            r.right = a.nextInt("right");
            r.bottom = a.nextInt("bottom");
            s.host().setMainWindowRect(r);
        }
        a.done();
    });
    session.registerCommand("host cell-edit", [](Session& s, Args& a) {
        s.host().setCellEditMode(parseBool(a.next("on or off")));
        a.done();
    });
    session.registerCommand("host formula-bar", [](Session& s, Args& a) {
        s.host().setDisplayFormulaBar(parseBool(a.next("on or off")));
        a.done();
    });
    session.registerCommand("host full-screen", [](Session& s, Args& a) {
        s.host().setDisplayFullScreen(parseBool(a.next("on or off")));
        a.done();
    });
    session.registerCommand("host reentrant-updates", [](Session& s, Args& a) {
        s.host().setReentrantUpdates(parseBool(a.next("on or off")));
        a.done();
    });
    // host toggle 549 on: the user switches a drawing aid with the host's own button
    session.registerCommand("host toggle", [](Session& s, Args& a) {
        const int id = a.nextInt("control number");
        s.host().setToggle(id, parseBool(a.next("on or off")));
        a.done();
    });
    // host restart: the host closes and opens again; temporary bars vanish
    session.registerCommand("host restart", [](Session& s, Args& a) {
        a.done();
        if (s.connected()) s.disconnectAddin();
        s.host().restartHost();
    });
    session.registerCommand("host update", [](Session& s, Args& a) {
        a.done();
        s.host().fireUpdate();
    });
    // workbook <name> [sheets <name>...]
    session.registerCommand("workbook", [](Session& s, Args& a) {
        auto book = s.host().addWorkbook(a.next("workbook name"));
        if (a.accept("sheets")) {
            while (auto name = a.nextIf()) s.host().addWorksheet(book, *name);
        }
        a.done();
        if (!book->sheets.empty()) s.host().activateSheet(book->sheets.front());
    });
    // sheet <name> [chart] | sheet activate <name>
    session.registerCommand("sheet", [](Session& s, Args& a) {
        if (a.accept("activate")) {
            s.host().activateSheet(requireSheet(s, a.next("sheet name")));
            a.done();
            return;
        }
        auto book = s.host().activeWorkbook();
        if (!book) throw ScriptError("no workbook is open");
        const std::string name = a.next("sheet name");
        const bool chart = a.flag("chart");
        a.done();
        auto sheet = chart ? s.host().addChartSheet(book, name) : s.host().addWorksheet(book, name);
        s.host().activateSheet(sheet);
    });
    session.registerCommand("shape", [](Session& s, Args& a) { addShape(s, a, false); });
    // delete-shape <name>: someone else deletes the object (a macro, another add-in)
    session.registerCommand("delete-shape", [](Session& s, Args& a) {
        const std::string name = a.next("shape name");
        a.done();
        s.host().deleteShape(name);
    });
    // draw <kind> <name> ...: the user draws with a drawing tool (selects it, tool off)
    session.registerCommand("draw", [](Session& s, Args& a) { addShape(s, a, true); });
    // select cells A1:C3 | select shapes <name>... | select nothing
    session.registerCommand("select", [](Session& s, Args& a) {
        if (a.accept("cells")) {
            s.host().selectRange(a.next("address"));
        } else if (a.accept("shapes")) {
            std::vector<std::string> names;
            while (auto n = a.nextIf()) names.push_back(*n);
            if (names.empty()) throw ScriptError("missing shape names");
            s.host().selectShapes(names);
        } else if (a.accept("nothing")) {
            s.host().selectNothing();
        } else {
            throw ScriptError("select cells, shapes or nothing");
        }
        a.done();
    });
    // edit-cell <address> <text>: the user types into a cell (raises SheetChange)
    session.registerCommand("edit-cell", [](Session& s, Args& a) {
        auto sheet = s.host().activeSheet();
        if (!sheet) throw ScriptError("no sheet is active");
        const std::string address = a.next("address");
        s.host().editCell(sheet, address, a.rest("text"));
    });
    // gridlines on|off: the user switches the active window's gridlines
    session.registerCommand("gridlines", [](Session& s, Args& a) {
        auto sheet = s.host().activeSheet();
        if (!sheet) throw ScriptError("no sheet is active");
        sheet->gridlines = parseBool(a.next("on or off"));
        a.done();
    });
    // bar add <name> [type=0] [position=4] [row=0] [visible] [disabled] | bar remove <name> |
    // bar rename <name> <new name> | bar <name> visible|hidden|position=<n>
    session.registerCommand("bar", [](Session& s, Args& a) {
        if (a.accept("add")) {
            sim::BarInit init;
            init.name = a.next("bar name");
            if (auto t = a.option("type")) init.type = static_cast<int32_t>(text::val(*t));
            if (auto p = a.option("position")) init.position = static_cast<int32_t>(text::val(*p));
            if (auto r = a.option("row")) init.row = static_cast<int32_t>(text::val(*r));
            init.visible = a.flag("visible");
            init.enabled = !a.flag("disabled");
            a.done();
            s.host().addBar(init);
        } else if (a.accept("remove")) {
            s.host().removeBar(a.next("bar name"));
            a.done();
        } else if (a.accept("rename")) {
            const std::string from = a.next("bar name");
            s.host().renameBar(from, a.next("new name"));
            a.done();
        } else {
            auto bar = s.host().findBar(a.next("bar name"));
            if (!bar) throw ScriptError("no such bar");
            auto handle = s.host().barHandle(bar);
            if (a.accept("visible")) handle->setVisible(true);
            else if (a.accept("hidden")) handle->setVisible(false);
            if (auto p = a.option("position")) handle->setPosition(static_cast<int32_t>(text::val(*p)));
            if (auto r = a.option("row")) handle->setRowIndex(static_cast<int32_t>(text::val(*r)));
            if (auto l = a.option("left")) handle->setLeft(static_cast<int32_t>(text::val(*l)));
            if (auto t = a.option("top")) handle->setTop(static_cast<int32_t>(text::val(*t)));
            a.done();
        }
    });
    // save-as "<path>" | save-as cancel: the answer of the host's next Save As dialog
    session.registerCommand("save-as", [](Session& s, Args& a) {
        const std::string answer = a.next("path or cancel");
        a.done();
        s.host().queueSaveAsAnswer(text::equalsIgnoreCase(answer, "cancel") ? std::nullopt : std::optional(answer));
    });
    // clipboard clear | clipboard text "<text>" | clipboard unicode "<text>" | clipboard bitmap <w> <h> <colour>
    // | clipboard emf <w> <h> <colour> | clipboard format <number|name> "<text>" | clipboard format <f> size=<n>
    // Each but clear adds a format to what the clipboard holds, as a program copying would.
    session.registerCommand("clipboard", [](Session& s, Args& a) {
        using Kind = platform::ClipboardEntry::Kind;
        auto& clip = s.host().clipboard();
        if (a.accept("clear")) {
            clip.clear();
        } else if (a.accept("text")) {
            clip.setText(a.next("text"), platform::cf::kText);
        } else if (a.accept("unicode")) {
            clip.add({platform::cf::kUnicodeText, {}, Kind::Memory, sim::unicodeTextBytes(a.next("text"))});
        } else if (a.accept("bitmap")) {
            const int w = a.nextInt("width");
            const int h = a.nextInt("height");
            const int32_t color = parseColor(a.next("colour"));
            auto bytes = picture::encodeBmp(picture::solidImage(w, h, static_cast<uint32_t>(color)));
            clip.setPicture({platform::cf::kBitmap, bytes}, platform::cf::kBitmap);
        } else if (a.accept("emf")) {
            const int w = a.nextInt("width");
            const int h = a.nextInt("height");
            const int32_t color = parseColor(a.next("colour"));
            if (w < 1 || h < 1 || w > picture::emf::Writer::kMaxExtent || h > picture::emf::Writer::kMaxExtent) {
                throw ScriptError("a picture of 1 to 32767 pixels each way");
            }
            picture::emf::Writer emf(w, h);
            const auto brush = emf.createBrush(static_cast<uint32_t>(color));
            emf.select(brush);
            emf.select(emf.createNullPen());
            emf.rectangle({0, 0, w + 1, h + 1});
            clip.add({platform::cf::kEnhMetafile, {}, Kind::EnhMetafile, emf.finish()});
        } else if (a.accept("format")) {
            const ClipboardFormatWord format = parseClipboardFormat(a.next("format number or name"));
            std::vector<uint8_t> bytes;
            if (auto size = a.option("size")) {
                const double n = text::val(*size);
                if (!(n >= 1 && n <= 256.0 * 1024 * 1024)) throw ScriptError("size= 1 byte to 256 MB");
                bytes.assign(static_cast<size_t>(n), uint8_t{'x'});
            } else {
                const std::string text = a.next("text");
                bytes.assign(text.begin(), text.end());
                bytes.push_back(0);
            }
            clip.add({format.number, format.name, Kind::Memory, std::move(bytes)});
        } else {
            throw ScriptError("clipboard clear, text, unicode, bitmap, emf or format");
        }
        a.done();
    });
    // fail <Object.Member> [occurrence] [number=<n>] [description="..."] | fail call <n> | fail clear
    session.registerCommand("fail", [](Session& s, Args& a) {
        if (a.accept("clear")) {
            a.done();
            s.host().clearFailures();
            return;
        }
        const auto number = a.option("number");
        const std::optional<std::string> description = a.option("description");
        const int32_t n = number ? static_cast<int32_t>(text::val(*number)) : host::err::kUnspecified;
        if (a.accept("call")) {
            const int k = a.nextInt("call number");
            a.done();
            s.host().failCall(k, n, description);
            return;
        }
        const std::string member = a.next("member");
        int occurrence = 1;
        if (auto o = a.nextIf()) occurrence = static_cast<int>(text::val(*o));
        a.done();
        s.host().failMember(member, occurrence, n, description);
    });
}

}  // namespace qm::cli
