// The windows' read-only automation: names found as window properties, descriptions that
// give the state exactly as the presenter set it, and reading that changes nothing.
#include <gtest/gtest.h>

#include "win32/utf.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "win32/ui/automation.h"
#include "win32/ui/controls.h"
#include "win32/ui/form.h"
#include "win32/ui/grid.h"
#include "win32/ui/list_view.h"
#include "win32/ui/picture_box.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui::testing {
namespace {

using automation::Record;
using qm::ui::FormStyle;

BOOL CALLBACK collectNamed(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<std::map<std::string, HWND>*>(param);
    // Windows of the system controls' own (a list view's header) have no name.
    if (std::string name = automation::nameOf(hwnd); !name.empty()) (*found)[name] = hwnd;
    return TRUE;
}

std::map<std::string, HWND> namedChildren(HWND form) {
    std::map<std::string, HWND> found;
    ::EnumChildWindows(form, collectNamed, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The records of a window's description by name (the last of a name wins), and in order.
struct Described {
    explicit Described(HWND hwnd) {
        const auto got = automation::describe(hwnd, ::RegisterWindowMessageW(automation::kDescribeMessage));
        if (got) records = *got;
        for (const Record& r : records) byName[r[0]] = r;
    }
    std::vector<Record> records;
    std::map<std::string, Record> byName;
    std::vector<Record> all(const std::string& key) const {
        std::vector<Record> out;
        for (const Record& r : records) {
            if (r[0] == key) out.push_back(r);
        }
        return out;
    }
};

struct Window {
    Window() : toolkit(nullptr), form(toolkit.makeForm({"frmProbe", FormStyle::SizableToolWindow, 4800, 3600, {}})) {}
    Toolkit toolkit;
    std::unique_ptr<Form> form;
};

TEST(Automation, FormsAndControlsCarryTheirNamesUntilTheirWindowsGo) {
    const wchar_t* probe = L"cmdAutomationProbe(7)";
    {
        Window w;
        auto& frame = w.form->addFrame("Frame1", nullptr, {120, 120, 3000, 2000});
        w.form->addButton("cmdAutomationProbe(7)", &frame, {100, 300, 1200, 360});
        EXPECT_EQ(automation::nameOf(w.form->hwnd()), "frmProbe");
        const auto found = namedChildren(w.form->hwnd());
        ASSERT_TRUE(found.count("cmdAutomationProbe(7)"));
        EXPECT_EQ(found.at("cmdAutomationProbe(7)"), w.form->window("cmdAutomationProbe(7)"));
        EXPECT_EQ(found.at("Frame1"), w.form->window("Frame1"));
        EXPECT_NE(::GlobalFindAtomW(probe), 0);
    }
    // The name's atom went with the window.
    EXPECT_EQ(::GlobalFindAtomW(probe), 0);
}

TEST(Automation, DescriptionsGiveWhatThePresenterSetExactly) {
    Window w;
    auto& frame = w.form->addFrame("Frame1", nullptr, {100.5, 207.25, 4000, 3000});
    auto& label = w.form->addLabel("lblNote", &frame, {10, 20, 1000.75, 240});
    label.setForeColor(0x0000FF);
    auto& ok = w.form->addButton("cmdOK", nullptr, {300, 3000, 1200, 360});
    ok.setCancel(true);
    ok.setFaceColor(0x00FF00);
    auto& bar = w.form->addScrollBar("vscGrid(0)", nullptr, {2000, 100, 255, 285});
    bar.setRange(10, -5);
    auto& list = w.form->addListView("lstShapes", nullptr, {100, 500, 3000, 1500});
    list.addColumn("Name", 2000.5);
    list.addColumn("Type", 800);
    list.insertItem(1, "Box", "k1");
    list.insertItem(2, "Line");
    auto& grid = w.form->addGrid("fxgNodes", nullptr, {100, 2100, 3000, 1200});
    grid.setRows(3);
    grid.setCols(2);
    grid.setColWidth(1, 777.5);
    grid.setTextMatrix(2, 1, "tab\there");
    grid.setCellBackColor(1, 1, 0x123456);
    auto& box = w.form->addPictureBox("picNode(0)", nullptr, {3200, 100, 1500, 1000});
    box.setUserScale(0, 0, 160, 110);
    box.fillBox(10, 10, 20, 20, 0xFF0000);
    box.printText(30, 40, "line\none");

    const Described form(w.form->hwnd());
    EXPECT_EQ(form.byName.at("form")[1], "frmProbe");
    EXPECT_EQ(form.byName.at("style")[1], "tool");
    EXPECT_EQ(form.byName.at("client"), (Record{"client", "4800", "3600"}));
    const auto controls = form.all("control");
    ASSERT_EQ(controls.size(), 7u);
    EXPECT_EQ(controls[0], (Record{"control", "Frame1", ""}));
    EXPECT_EQ(controls[1], (Record{"control", "lblNote", "Frame1"}));
    EXPECT_EQ(controls[6][1], "picNode(0)");

    const auto hwnds = namedChildren(w.form->hwnd());
    const Described l(hwnds.at("lblNote"));
    EXPECT_EQ(l.byName.at("control"), (Record{"control", "label", "lblNote"}));
    EXPECT_EQ(l.byName.at("container")[1], "Frame1");
    // Twips as set, not as the pixels they became.
    EXPECT_EQ(l.byName.at("bounds"), (Record{"bounds", "10", "20", "1000.75", "240"}));
    EXPECT_EQ(Described(hwnds.at("Frame1")).byName.at("bounds"), (Record{"bounds", "100.5", "207.25", "4000", "3000"}));
    EXPECT_EQ(l.byName.at("forecolor")[1], "255");
    const Described b(hwnds.at("cmdOK"));
    EXPECT_EQ(b.byName.at("cancel")[1], "1");
    EXPECT_EQ(b.byName.at("default")[1], "0");
    EXPECT_EQ(b.byName.at("facecolor")[1], std::to_string(0x00FF00));
    EXPECT_EQ(Described(hwnds.at("vscGrid(0)")).byName.at("range"), (Record{"range", "10", "-5"}));
    const Described lv(hwnds.at("lstShapes"));
    EXPECT_EQ(lv.all("column"), (std::vector<Record>{{"column", "Name", "2000.5"}, {"column", "Type", "800"}}));
    EXPECT_EQ(lv.all("key"), (std::vector<Record>{{"key", "1", "k1"}}));
    const Described g(hwnds.at("fxgNodes"));
    EXPECT_EQ(g.byName.at("size"), (Record{"size", "3", "2", "1", "1"}));
    EXPECT_EQ(g.byName.at("widths"), (Record{"widths", "960", "777.5"}));
    EXPECT_EQ(g.all("cell")[5], (Record{"cell", "2", "1", "tab\there"}));
    EXPECT_EQ(g.all("cell")[3], (Record{"cell", "1", "1", "", std::to_string(0x123456)}));
    EXPECT_EQ(g.byName.at("col-edges").size(), 3u);
    const Described p(hwnds.at("picNode(0)"));
    EXPECT_EQ(p.byName.at("scale"), (Record{"scale", "user", "0", "0", "160", "110"}));
    EXPECT_EQ(p.byName.at("scale-size"), (Record{"scale-size", "160", "110"}));
    ASSERT_EQ(p.all("box").size(), 1u);
    ASSERT_EQ(p.all("text").size(), 1u);
    EXPECT_EQ(p.all("text")[0][3], "line\none");
    // In twips inside the box: 30 of 160 units across 1500 twips.
    EXPECT_DOUBLE_EQ(std::stod(p.all("text")[0][1]), 30.0 * 1500 / 160);
}

TEST(Automation, ReadingChangesNothing) {
    Window w;
    auto& text = w.form->addTextBox("txtPosition(0)", nullptr, {100, 100, 2000, 300});
    auto& check = w.form->addCheckBox("chkFit", nullptr, {100, 500, 2000, 300});
    auto& list = w.form->addListView("lstShapes", nullptr, {100, 900, 3000, 1500});
    auto& grid = w.form->addGrid("fxgNodes", nullptr, {100, 2500, 3000, 1000});
    list.addColumn("Name", 2000);
    list.insertItem(1, "Box");
    list.insertItem(2, "Line");
    list.selectRow(2);
    text.setText("12.5");
    text.setSelStart(1);
    text.setSelLength(2);
    int events = 0;
    text.onChange = [&] { ++events; };
    text.onValidate = [&](bool&) { ++events; };
    check.onClick = [&] { ++events; };
    list.onItemClick = [&](int) { ++events; };
    list.onItemCheck = [&](int) { ++events; };
    grid.onSelChange = [&] { ++events; };
    text.onGotFocus = [&] { ++events; };

    const UINT message = ::RegisterWindowMessageW(automation::kDescribeMessage);
    for (int i = 0; i < 3; ++i) {
        automation::describe(w.form->hwnd(), message);
        for (const auto& [name, hwnd] : namedChildren(w.form->hwnd())) {
            EXPECT_TRUE(automation::describe(hwnd, message)) << name;
            automation::nameOf(hwnd);
        }
    }
    EXPECT_EQ(events, 0);
    EXPECT_EQ(text.text(), "12.5");
    EXPECT_EQ(text.selStart(), 1);
    EXPECT_EQ(text.selLength(), 2);
    EXPECT_EQ(list.selectedRow(), 2);
    EXPECT_EQ(check.value(), 0);
    EXPECT_EQ(grid.row(), 1);
}

TEST(Automation, TextsSurviveTabsAndLineBreaksAndASmallBufferIsCut) {
    automation::Writer w;
    w.record("text").text("a\tb\nc\\d\r").number(0.1).integer(-3);
    w.record("empty").text("");
    const auto records = automation::parse(w.str());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (Record{"text", "a\tb\nc\\d\r", "0.1", "-3"}));
    EXPECT_EQ(records[1], (Record{"empty", ""}));
    EXPECT_EQ(automation::parseNumber("0.1"), 0.1);
    EXPECT_EQ(automation::parseNumber("12x"), std::nullopt);

    char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(automation::answer("abcdefgh", sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 8);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(automation::answer("abcdefgh", 0, 0), 8);

    // A window that is not one of the add-in's answers nothing.
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(plain);
    EXPECT_EQ(automation::describe(plain, ::RegisterWindowMessageW(automation::kDescribeMessage)), std::nullopt);
    EXPECT_EQ(automation::nameOf(plain), "");
    ::DestroyWindow(plain);
}

}  // namespace
}  // namespace qm::win32::ui::testing
