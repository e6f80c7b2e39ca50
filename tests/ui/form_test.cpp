// Windows as a whole: modal showing through the driver (early return, nesting, failures),
// unloading, geometry, the splitter drag, finding controls and the text dump.
#include <stdexcept>
#include <vector>

#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

TEST(Modal, DriverThatReturnsEarlyClosesTheWindow) {
    std::vector<Form*> stackSeen;
    bool shownSeen = false;
    Window w(FormStyle::Dialog, [&](Form& f) {
        stackSeen = f.toolkit().shownForms();
        shownSeen = f.shown();
    });
    int unloads = 0;
    w.form->onUnload = [&] { ++unloads; };
    w.form->showModal();
    EXPECT_EQ(stackSeen, std::vector<Form*>{w.form.get()});
    EXPECT_TRUE(shownSeen);
    EXPECT_FALSE(w.form->loaded());
    EXPECT_FALSE(w.form->shown());
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(w.toolkit.shownForms().empty());
    // Unloaded windows are not shown again.
    w.form->showModal();
    EXPECT_EQ(unloads, 1);
}

TEST(Modal, NestedWindowsBlockTheOnesBelowThem) {
    Toolkit toolkit({});
    auto outer = toolkit.makeForm({"frmSetting", FormStyle::Dialog, 3000, 2000, {}});
    std::unique_ptr<Form> inner;
    auto& open = as<Button>(outer->addButton("cmdOpen", nullptr, {}));
    int openClicks = 0;
    open.onClick = [&] {
        if (++openClicks > 1) return;
        inner = toolkit.makeForm({"frmOnePoint", FormStyle::Dialog, 2000, 1000, {}});
        auto& ok = inner->addButton("cmdOK", nullptr, {});
        ok.onClick = [&] { inner->unload(); };
        inner->showModal();
    };
    std::vector<std::string> trace;
    toolkit.setModalDriver([&](Form& f) {
        trace.push_back("drive " + f.name() + " depth " + std::to_string(toolkit.shownForms().size()));
        if (f.name() == "frmSetting") {
            open.userClick();
            trace.push_back("back in " + f.name() + " depth " + std::to_string(toolkit.shownForms().size()));
            f.userClose();
        } else {
            // The window underneath takes no input while this one is up.
            trace.push_back(open.userClick() ? "outer clicked" : "outer blocked");
            f.get<Button>("cmdOK").userClick();
            trace.push_back(f.loaded() ? "inner still loaded" : "inner closed");
        }
    });
    outer->showModal();
    EXPECT_EQ(trace, (std::vector<std::string>{"drive frmSetting depth 1", "drive frmOnePoint depth 2", "outer blocked",
                                               "inner closed", "back in frmSetting depth 1"}));
    EXPECT_EQ(openClicks, 1);
    EXPECT_FALSE(outer->loaded());
    EXPECT_TRUE(toolkit.shownForms().empty());
}

TEST(Modal, ShowingTwiceIsError400AndDriverFailuresLeaveTheStackClean) {
    Window w(FormStyle::Dialog, [](Form& f) {
        EXPECT_EQ(errorNumberOf([&] { f.showModal(); }), 400);
        throw std::runtime_error("script error");
    });
    EXPECT_THROW(w.form->showModal(), std::runtime_error);
    EXPECT_TRUE(w.toolkit.shownForms().empty());
    EXPECT_FALSE(w.form->shown());
    EXPECT_TRUE(w.form->loaded());
}

TEST(Unload, RaisesOnUnloadOnceAndLeavesControlsInspectable) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    auto& cmd = as<Button>(w.form->addButton("cmdA", nullptr, {}));
    int unloads = 0, clicks = 0;
    w.form->onUnload = [&] {
        ++unloads;
        w.form->unload();  // closing again from inside does nothing
    };
    cmd.onClick = [&] { ++clicks; };
    txt.setText("kept");
    txt.setFocus();
    EXPECT_TRUE(w.form->userClose());
    w.form->unload();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(txt.text(), "kept");
    EXPECT_EQ(w.form->focused(), nullptr);
    EXPECT_FALSE(cmd.userClick());
    EXPECT_FALSE(txt.userType("x"));
    EXPECT_FALSE(w.form->userKey(key::kEscape));
    EXPECT_FALSE(w.form->userClose());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(txt.text(), "kept");
}

TEST(Geometry, OuterSizeAddsTheFrameAndResizesRaiseOnResize) {
    Window dialog;
    EXPECT_EQ(dialog.form->width(), 4800 + 90);
    EXPECT_EQ(dialog.form->height(), 3600 + 480);
    EXPECT_FALSE(dialog.form->userResize(6000, 5000));  // dialogs have a fixed border
    EXPECT_FALSE(dialog.form->userMinimize());

    Window tool(FormStyle::SizableToolWindow);
    int resizes = 0;
    tool.form->onResize = [&] { ++resizes; };
    tool.form->setWidth(6000);
    tool.form->setWidth(6000);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(tool.form->scaleWidth(), 6000 - 120);
    EXPECT_TRUE(tool.form->userResize(5000, 4000));
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(tool.form->scaleHeight(), 4000 - 405);
    EXPECT_TRUE(tool.form->userMinimize());
    EXPECT_TRUE(tool.form->minimized());
    EXPECT_TRUE(tool.form->userRestore());
    EXPECT_FALSE(tool.form->minimized());
    EXPECT_EQ(resizes, 4);
    EXPECT_DOUBLE_EQ(tool.form->textWidth("ab"), 2 * 0.55 * 180);
}

TEST(Geometry, AbsoluteBoundsAddContainersAndTheirBorders) {
    Window w;
    auto& outer = w.form->addPictureBox("picContener(0)", nullptr, {1000, 500, 2000, 2000});
    auto& frame = w.form->addFrame("fraA", &outer, {100, 200, 1500, 1500});
    auto& cmd = w.form->addButton("cmdA", &frame, {10, 20, 300, 200});
    Bounds b = w.form->absoluteBounds(cmd);
    EXPECT_EQ(b.left, 1110);
    EXPECT_EQ(b.top, 720);
    outer.setBorder(true);
    b = w.form->absoluteBounds(cmd);
    EXPECT_EQ(b.left, 1140);
    EXPECT_EQ(b.width, 300);

    Window other;
    auto& foreign = other.form->addFrame("fraOther", nullptr, {});
    EXPECT_EQ(errorNumberOf([&] { w.form->addLabel("lblX", &foreign, {}); }), 5);
}

TEST(Image, DragReportsPointsRelativeToTheImageAsItMoves) {
    Window w(FormStyle::SizableToolWindow);
    auto& pic = w.form->addPictureBox("picA", nullptr, {500, 0, 3000, 3000});
    auto& img = as<Image>(w.form->addImage("imgV", &pic, {1000, 100, 60, 2000}));
    std::vector<std::string> events;
    double start = 0;
    img.onMouseDown = [&](int button, double x, double) {
        events.push_back("down " + std::to_string(button) + " " + std::to_string(static_cast<int>(x)));
        start = x;
    };
    img.onMouseMove = [&](int, double x, double) {
        events.push_back("move " + std::to_string(static_cast<int>(x)));
        img.setLeft(img.left() + x - start);  // the splitter follows the mouse
    };
    img.onMouseUp = [&](int, double x, double y) {
        events.push_back("up " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    };
    // Form coordinates: the image starts at 1500, 100.
    EXPECT_TRUE(img.userDrag(1510, 200, 1610, 200, 2));
    EXPECT_EQ(events, (std::vector<std::string>{"down 1 10", "move 60", "move 60", "up 10,100"}));
    EXPECT_EQ(img.left(), 1100);
}

TEST(Find, ControlsByNameAndKind) {
    Window w;
    w.form->addButton("cmdOK", nullptr, {});
    EXPECT_NE(w.form->find("cmdOK"), nullptr);
    EXPECT_EQ(w.form->find("cmdNone"), nullptr);
    EXPECT_NE(w.form->find<Button>("cmdOK"), nullptr);
    EXPECT_EQ(w.form->find<TextBox>("cmdOK"), nullptr);
    EXPECT_THROW(w.form->get<TextBox>("cmdOK"), std::out_of_range);
    EXPECT_EQ(errorNumberOf([&] { w.form->addTextBox("cmdOK", nullptr, {}); }), 360);
    EXPECT_EQ(w.toolkit.findForm("frmTest"), w.form.get());
}

TEST(Dump, DescribesEveryControlDeterministically) {
    Window w;
    Form& f = *w.form;
    f.setCaption("Settings \"1\"");
    auto& frame = f.addFrame("fraGrid", nullptr, {120, 120, 3000, 1500});
    frame.setCaption("Grid");
    auto& txt = f.addTextBox("txtGrid(0)", &frame, {100, 300, 800, 270});
    txt.setText("1.5");
    auto& vsc = f.addScrollBar("vscGrid(0)", &frame, {900, 300, 240, 270});
    vsc.setRange(0, -5000);
    vsc.setValue(-15);
    auto& chk = f.addCheckBox("chkFit", nullptr, {120, 1700, 2000, 240});
    chk.setValue(1);
    chk.setVisible(false);
    auto& ok = f.addButton("cmdOK", nullptr, {2000, 2500, 1000, 400});
    ok.setCaption("OK");
    ok.setDefault(true);
    auto& cancel = f.addButton("cmdCancel", nullptr, {3100, 2500, 1000, 400});
    cancel.setCaption("Cancel");
    cancel.setCancel(true);
    cancel.setEnabled(false);
    auto& list = f.addListView("lstShapes", nullptr, {0, 0, 1000, 1000});
    list.addColumn("Objects", 900.5);
    list.addColumn("Z", 0);
    list.insertItem(1, "Rect 1", "r1");
    list.setSubItem(1, 1, "00001");
    list.insertItem(2, "Oval 2");
    list.setChecked(2, true);
    list.selectRow(2);
    auto& grid = f.addGrid("fxgNodes", nullptr, {0, 0, 2000, 1000});
    grid.setCols(3);
    grid.setTextMatrix(0, 1, "X");
    grid.setCellBackColor(1, 2, 0xFF);
    grid.setColAlignment(1, CellAlign::RightCenter);
    auto& pic = f.addPictureBox("picNode", nullptr, {0, 0, 600, 300});
    pic.setUserScale(0, 0, 60, 30);
    pic.fillBox(1, 2, 11, 12, 0x123456);
    pic.printText(0, 0, "n1");
    f.addImage("imgV", nullptr, {10, 10, 60, 600}).setMousePointer(MousePointer::SizeWE);
    txt.setFocus();

    const std::string expected =
        "form frmTest \"Settings \\\"1\\\"\" dialog outer 4890x4080 client 4800x3600 loaded\n"
        "  frame fraGrid 120,120 3000x1500 caption \"Grid\"\n"
        "    textbox txtGrid(0) 100,300 800x270 focus text \"1.5\" sel 0+0\n"
        "    scrollbar vscGrid(0) 900,300 240x270 value -15 range 0..-5000\n"
        "  checkbox chkFit 120,1700 2000x240 hidden value 1 caption \"\"\n"
        "  button cmdOK 2000,2500 1000x400 caption \"OK\" default\n"
        "  button cmdCancel 3100,2500 1000x400 disabled caption \"Cancel\" cancel\n"
        "  listview lstShapes 0,0 1000x1000 rows 2 selected 2\n"
        "      columns \"Objects\" 900.5, \"Z\" 0\n"
        "        1 [ ] \"Rect 1\" key \"r1\" | \"00001\"\n"
        "      > 2 [x] \"Oval 2\" | \"\"\n"
        "  grid fxgNodes 0,0 2000x1000 rows 2 cols 3 fixed 1,1 top 1 left 1 cell 1,1\n"
        "      widths 960 960 960\n"
        "      align 1=right\n"
        "      0: \"\" | \"X\" | \"\"\n"
        "      1: \"\" | \"\" | \"\" back 0x000000FF\n"
        "  picturebox picNode 0,0 600x300 scale user 0,0 60x30 items 2\n"
        "      box 10,20 100x100 color 0x00123456\n"
        "      text 0,0 \"n1\" font \"MS UI Gothic\" 9 color 0x80000012\n"
        "  image imgV 10,10 60x600 picture 0 bytes pointer size-we\n";
    EXPECT_EQ(f.dump(), expected);
    EXPECT_EQ(f.dump(), f.dump());
}

}  // namespace
}  // namespace qm::ui::headless
