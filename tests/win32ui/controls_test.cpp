// The control semantics of the window interfaces on real Win32 windows, driven with the
// messages a user's mouse and keyboard produce while the window runs its modal loop.
#include <gtest/gtest.h>

#include "win32/utf.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/host/error.h"
#include "core/picture/bmp.h"
#include "core/ui/spinner.h"
#include "tests/win32ui/driver.h"
#include "win32/ui/controls.h"
#include "win32/ui/grid.h"
#include "win32/ui/list_view.h"
#include "win32/ui/picture_box.h"

namespace qm::win32::ui::testing {
namespace {

using qm::ui::FormStyle;

template <class F>
int32_t errorNumberOf(F&& f) {
    try {
        f();
    } catch (const qm::host::HostError& e) {
        return e.number();
    }
    return 0;
}

struct Window {
    explicit Window(FormStyle style = FormStyle::Dialog) : toolkit(nullptr), form(toolkit.makeForm({"frmTest", style, 4800, 3600, {}})) {}
    // Shows the window modally while the steps run; the last step should close it.
    void run(std::vector<ModalScript::Step> steps) {
        ModalScript script(toolkit, std::move(steps));
        form->showModal();
        EXPECT_TRUE(script.finished());
        EXPECT_FALSE(script.timedOut()) << "the window was still open after the last step";
    }
    template <class T>
    T& as(qm::ui::Control& c) {
        return dynamic_cast<T&>(c);
    }
    Toolkit toolkit;
    std::unique_ptr<Form> form;
};

TEST(Win32TextBox, TypedKeysPassTheFilterAndRaiseOneChangeEach) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("txt", nullptr, {100, 100, 2000, 300}));
    std::vector<int> keys;
    int changes = 0;
    box.onKeyPress = [&](int& k) {
        keys.push_back(k);
        if (k == 'x') k = 0;         // swallowed
        if (k == 'a') k = 'A';       // changed
    };
    box.onChange = [&] { ++changes; };
    w.run({[&] { postChars(box.hwnd(), L"1ax2\x00E9"); },
           [&] {
               EXPECT_EQ(box.text(), "1A2\xC3\xA9");
               EXPECT_EQ(changes, 4);  // the swallowed key changed nothing
               EXPECT_EQ(box.selStart(), 4);
               postChars(box.hwnd(), L"\b");
           },
           [&] {
               EXPECT_EQ(box.text(), "1A2");
               w.form->unload();
           }});
    EXPECT_EQ(keys, (std::vector<int>{'1', 'a', 'x', '2', 0x100 + 0xE9, 8}));
}

TEST(Win32TextBox, TextFromCodeRaisesChangeOnceAndOnlyWhenItDiffers) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("txt", nullptr, {100, 100, 2000, 300}));
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setText("12.50 cm");
    box.setText("12.50 cm");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.selStart(), 0);
    box.setSelStart(3);
    box.setSelLength(100);
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 5);  // clamped to the text
    EXPECT_EQ(errorNumberOf([&] { box.setSelStart(-1); }), 380);
    box.setText("\xE6\x97\xA5\xE6\x9C\xAC");  // two characters, counted as two
    box.setSelStart(1);
    box.setSelLength(5);
    EXPECT_EQ(box.selLength(), 1);
}

TEST(Win32Focus, ValidationRunsBeforeTheFocusMovesAndCanKeepIt) {
    Window w;
    auto& a = w.as<TextBox>(w.form->addTextBox("a", nullptr, {100, 100, 2000, 300}));
    auto& b = w.as<TextBox>(w.form->addTextBox("b", nullptr, {100, 600, 2000, 300}));
    auto& ok = w.as<Button>(w.form->addButton("ok", nullptr, {100, 1100, 1200, 375}));
    std::vector<std::string> events;
    bool refuse = true;
    a.onValidate = [&](bool& cancel) {
        events.push_back("validate a (focus on " + std::string(::GetFocus() == a.hwnd() ? "a" : "elsewhere") + ")");
        cancel = refuse;
    };
    b.onGotFocus = [&] { events.push_back("got b"); };
    ok.onGotFocus = [&] { events.push_back("got ok"); };
    ok.onClick = [&] { events.push_back("click ok"); };
    w.run({[&] {
               EXPECT_TRUE(a.hasFocus());  // the first tab stop
               EXPECT_EQ(::GetFocus(), a.hwnd());
               postClick(b.hwnd(), 5, 5);
               postButton(ok.hwnd());
           },
           [&] {
               EXPECT_TRUE(a.hasFocus());
               EXPECT_EQ(::GetFocus(), a.hwnd());
               refuse = false;
               postButton(ok.hwnd());
           },
           [&] {
               EXPECT_TRUE(ok.hasFocus());
               EXPECT_EQ(::GetFocus(), ok.hwnd());
               w.form->unload();
           }});
    EXPECT_EQ(events, (std::vector<std::string>{"validate a (focus on a)", "validate a (focus on a)",
                                                "validate a (focus on a)", "got ok", "click ok"}));
}

TEST(Win32Keys, EscapeEnterAndTabActAsInADialog) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("box", nullptr, {100, 100, 2000, 300}));
    auto& other = w.as<TextBox>(w.form->addTextBox("other", nullptr, {100, 600, 2000, 300}));
    auto& ok = w.as<Button>(w.form->addButton("ok", nullptr, {100, 1100, 1200, 375}));
    auto& cancel = w.as<Button>(w.form->addButton("cancel", nullptr, {1500, 1100, 1200, 375}));
    std::vector<std::string> events;
    std::vector<int> keys;
    box.onKeyPress = [&](int& k) { keys.push_back(k); };
    ok.onClick = [&] { events.push_back("ok"); };
    cancel.onClick = [&] { events.push_back("cancel"); };
    cancel.setCancel(true);
    w.run({[&] { postKey(box.hwnd(), VK_RETURN); },  // no default button: the box gets it
           [&] {
               ok.setDefault(true);
               postKey(box.hwnd(), VK_RETURN);
               postKey(box.hwnd(), VK_ESCAPE);
           },
           [&] { postKey(box.hwnd(), VK_TAB); },
           [&] {
               EXPECT_TRUE(other.hasFocus());
               EXPECT_EQ(::GetFocus(), other.hwnd());
               cancel.setEnabled(false);  // Escape then reaches the focused box
               other.onKeyPress = [&](int& k) { keys.push_back(1000 + k); };
               postKey(other.hwnd(), VK_ESCAPE);
           },
           [&] { w.form->unload(); }});
    EXPECT_EQ(keys, (std::vector<int>{13, 1027}));
    EXPECT_EQ(events, (std::vector<std::string>{"ok", "cancel"}));
}

TEST(Win32Keys, TheWindowSeesCtrlKeysFirstAndOneItTakesTypesNothing) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("box", nullptr, {100, 100, 2000, 300}));
    std::vector<int> seen, typed;
    w.form->onKeyDown = [&](int& k, int shift) {
        if (shift & qm::ui::kCtrlMask) seen.push_back(k);
        if (k == 'Z' && shift == qm::ui::kCtrlMask) k = 0;
    };
    box.onKeyPress = [&](int& k) { typed.push_back(k); };
    const auto holdCtrl = [](bool down) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_CONTROL] = state[VK_LCONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(state);
    };
    w.run({[&] {
               holdCtrl(true);
               postKey(box.hwnd(), 'Z');
               postKey(box.hwnd(), 'A');
           },
           [&] {
               holdCtrl(false);
               w.form->unload();
           }});
    EXPECT_EQ(seen, (std::vector<int>{'Z', 'A'}));
    EXPECT_EQ(typed, (std::vector<int>{1}));  // Ctrl+A's character; Ctrl+Z was taken
}

TEST(Win32ScrollBar, ArrowsStepByOneAndARangeGivenDownwardsIsNormalised) {
    Window w;
    auto& spin = w.as<ScrollBar>(w.form->addScrollBar("spin", nullptr, {100, 100, 255, 600}));
    auto& box = w.as<TextBox>(w.form->addTextBox("box", nullptr, {500, 100, 1000, 300}));
    std::vector<int> values;
    spin.onGotFocus = [&] { box.setFocus(); };  // as the windows' spinners hand the focus on
    spin.onChange = [&] { values.push_back(spin.value()); };
    spin.setRange(0, -5000);
    spin.setValue(-10);
    spin.setValue(-10);
    spin.setValue(-6000);  // clamped to the far end
    EXPECT_EQ(spin.value(), -5000);
    int lo = -1, hi = -1;
    ::GetScrollRange(spin.hwnd(), SB_CTL, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 5000);
    EXPECT_EQ(::GetScrollPos(spin.hwnd(), SB_CTL), 0);  // -5000 is the top of the bar
    spin.setValue(-10);
    values.clear();
    bool boxValidated = false;
    box.onValidate = [&](bool&) { boxValidated = true; };
    w.run({[&] {
               EXPECT_TRUE(box.hasFocus());  // the bar was the first tab stop and handed the focus on
               ::PostMessageW(w.form->hwnd(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(spin.hwnd()));
               ::PostMessageW(w.form->hwnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(spin.hwnd()));
               ::PostMessageW(w.form->hwnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(spin.hwnd()));
           },
           [&] {
               EXPECT_EQ(::GetScrollPos(spin.hwnd(), SB_CTL), 5000 - 9);
               EXPECT_TRUE(box.hasFocus());
               w.form->unload();
           }});
    EXPECT_EQ(values, (std::vector<int>{-11, -10, -9}));
    EXPECT_TRUE(boxValidated);  // a scroll moves the focus to the bar first, validating the box
}

TEST(Win32ScrollBar, APairedSpinnerChangesOnTheTypedTextFromItsArrowsAndTheBoxsKeys) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("box", nullptr, {100, 100, 1000, 300}));
    auto& spin = w.as<ScrollBar>(w.form->addScrollBar("spin", nullptr, {1100, 100, 255, 600}));
    auto& ok = w.as<Button>(w.form->addButton("ok", nullptr, {100, 1100, 1200, 375}));
    spin.setRange(0, -5000);
    spin.setValue(-10);
    qm::ui::pairSpinner(box, spin);
    std::vector<std::string> events;
    spin.onGotFocus = [&] { box.setFocus(); };
    spin.onChange = [&] { events.push_back("change " + std::to_string(spin.value()) + " on " + box.text()); };
    box.onValidate = [&](bool&) { events.push_back("validate " + box.text()); };
    RECT rc{};
    w.run({[&] { postChars(box.hwnd(), L"4"); },
           [&] {
               ::GetClientRect(spin.hwnd(), &rc);
               postClick(spin.hwnd(), rc.right / 2, 3);  // the upper arrow
           },
           [&] {
               EXPECT_TRUE(box.hasFocus());
               EXPECT_EQ(::GetFocus(), box.hwnd());
               postKey(box.hwnd(), VK_DOWN);
               postKey(box.hwnd(), VK_DOWN);
           },
           [&] {
               EXPECT_EQ(box.text(), "4");
               postKey(box.hwnd(), VK_TAB);  // the spinner is no tab stop
           },
           [&] {
               EXPECT_TRUE(ok.hasFocus());
               w.form->unload();
           }});
    EXPECT_EQ(events, (std::vector<std::string>{"change -11 on 4", "change -10 on 4", "change -9 on 4", "validate 4"}));
}

TEST(Win32Form, AFailingHandlerGoesToOnErrorAndTheWindowStaysUsable) {
    Window w;
    auto& box = w.as<TextBox>(w.form->addTextBox("box", nullptr, {100, 100, 2000, 300}));
    auto& cmd = w.as<Button>(w.form->addButton("cmd", nullptr, {100, 600, 1200, 375}));
    std::vector<std::string> shown;
    w.form->onError = [&](std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const qm::host::HostError& e) {
            shown.push_back(std::to_string(e.number()) + " " + e.description());
        }
    };
    int clicks = 0;
    cmd.onClick = [&] {
        ++clicks;
        throw qm::host::HostError(1004, "Method failed");
    };
    box.onKeyPress = [&](int& k) {
        if (k == 'x') throw qm::host::HostError(6, "Overflow");
    };
    w.run({[&] { postButton(cmd.hwnd()); },
           [&] { postChars(box.hwnd(), L"1x2"); },
           [&] {
               EXPECT_TRUE(w.form->loaded());
               postButton(cmd.hwnd());
           },
           [&] { w.form->unload(); }});
    EXPECT_EQ(shown, (std::vector<std::string>{"1004 Method failed", "6 Overflow", "1004 Method failed"}));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box.text(), "12");
}

TEST(Win32CheckBox, ClicksAndCodeToggleWithOneClickEvent) {
    Window w;
    auto& check = w.as<CheckBox>(w.form->addCheckBox("chk", nullptr, {100, 100, 2000, 300}));
    int clicks = 0;
    check.onClick = [&] { ++clicks; };
    check.setValue(1);
    check.setValue(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(::SendMessageW(check.hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(errorNumberOf([&] { check.setValue(3); }), 380);
    check.setValue(2);
    w.run({[&] { postButton(check.hwnd()); },
           [&] {
               EXPECT_EQ(check.value(), 0);  // grayed turns unchecked
               postKey(check.hwnd(), VK_SPACE);
           },
           [&] { w.form->unload(); }});
    EXPECT_EQ(check.value(), 1);
    EXPECT_EQ(clicks, 4);
}

TEST(Win32ListView, ChecksFromCodeAndClicksRaiseTheirEventsButNotTheInitialBox) {
    Window w;
    auto& list = w.as<ListView>(w.form->addListView("lst", nullptr, {100, 100, 4000, 2500}));
    list.addColumn("Objects", 3000);
    list.addColumn("Zorder", 600);
    std::vector<std::string> events;
    list.onItemCheck = [&](int row) { events.push_back("check " + std::to_string(row) + (list.checked(row) ? " on" : " off")); };
    list.onItemClick = [&](int row) { events.push_back("click " + std::to_string(row)); };
    for (int i = 1; i <= 3; ++i) {
        list.insertItem(i, "Shape " + std::to_string(i), "k" + std::to_string(i));
        list.setSubItem(i, 1, std::to_string(10 - i));
    }
    EXPECT_TRUE(events.empty());
    list.setChecked(2, true);
    EXPECT_EQ(events, std::vector<std::string>{"check 2 on"});
    EXPECT_EQ(ListView_GetCheckState(list.hwnd(), 1), TRUE);
    EXPECT_EQ(errorNumberOf([&] { list.insertItem(1, "dup", "k2"); }), 35602);
    EXPECT_EQ(errorNumberOf([&] { list.checked(4); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { list.setSubItem(1, 2, "x"); }), 380);
    list.sortOnce(1, false);  // by the sub-item: 7, 8, 9
    EXPECT_EQ(list.itemText(1), "Shape 3");
    EXPECT_TRUE(list.checked(2));
    events.clear();
    w.run({[&] {
               const POINT box = listCheckBox(list.hwnd(), 2);
               postClick(list.hwnd(), box.x, box.y);
           },
           [&] {
               const POINT row = centre(listRow(list.hwnd(), 0));
               postClick(list.hwnd(), row.x + 40, row.y);
           },
           [&] { w.form->unload(); }});
    EXPECT_EQ(events, (std::vector<std::string>{"check 3 on", "click 1"}));
    EXPECT_EQ(list.selectedRow(), 1);
}

TEST(Win32Grid, ClicksDoubleClicksKeysAndScrolling) {
    Window w;
    auto& grid = w.as<Grid>(w.form->addGrid("grid", nullptr, {100, 100, 4000, 1500}));
    grid.setRows(20);
    grid.setCols(3);
    std::vector<std::string> events;
    grid.onSelChange = [&] { events.push_back("sel " + std::to_string(grid.row()) + "," + std::to_string(grid.col())); };
    grid.onDblClick = [&] { events.push_back("dbl"); };
    grid.onKeyPress = [&](int& k) { events.push_back("key " + std::to_string(k)); };
    EXPECT_EQ(errorNumberOf([&] { grid.textMatrix(20, 0); }), 381);
    // Positions are where the cells are drawn, inside the grid's border.
    const double edge = 2 * w.toolkit.twipsPerPixelY();
    EXPECT_EQ(grid.rowPos(3), edge + 3 * Grid::kDefaultRowHeight);
    w.run({[&] {
               const POINT cell = centre(grid.cellRect(2, 2));
               postClick(grid.hwnd(), cell.x, cell.y);
           },
           [&] {
               const POINT fixed = centre(grid.cellRect(0, 1));  // a fixed cell: no move
               postClick(grid.hwnd(), fixed.x, fixed.y);
               const POINT cell = centre(grid.cellRect(3, 1));
               postDoubleClick(grid.hwnd(), cell.x, cell.y);
               postChars(grid.hwnd(), L"7");
           },
           [&] {
               ::PostMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
               ::PostMessageW(grid.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
           },
           [&] {
               EXPECT_EQ(grid.topRow(), 3);
               const POINT cell = centre(grid.cellRect(5, 1));  // the first scrolled row shown
               EXPECT_EQ(grid.cellAt(cell.x, cell.y), std::make_pair(5, 1));
               EXPECT_EQ(grid.rowPos(3), edge + Grid::kDefaultRowHeight);
               EXPECT_EQ(grid.rowPos(1), edge - Grid::kDefaultRowHeight);
               w.form->unload();
           }});
    EXPECT_EQ(events, (std::vector<std::string>{"sel 2,2", "sel 3,1", "dbl", "key 55"}));
}

TEST(Win32Image, DragReportsTwipsInTheImagesOwnCoordinatesAsItMoves) {
    Window w(FormStyle::SizableToolWindow);
    auto& img = w.as<Image>(w.form->addImage("img", nullptr, {1500, 0, 60, 3000}));
    img.setMousePointer(qm::ui::MousePointer::SizeWE);
    std::vector<std::string> events;
    double startX = 0;
    img.onMouseDown = [&](int button, double x, double) {
        startX = x;
        events.push_back("down " + std::to_string(button));
        EXPECT_EQ(::GetCapture(), img.hwnd());
    };
    // A splitter bar follows the mouse: the point stays where the drag started.
    img.onMouseMove = [&](int button, double x, double) {
        if (button == qm::ui::kLeftButton) img.setLeft(img.left() + x - startX);
    };
    img.onMouseUp = [&](int button, double x, double) { events.push_back("up " + std::to_string(button) + " " + std::to_string(static_cast<int>(x))); };
    w.run({[&] { sendDrag(img.hwnd(), {2, 10}, {-38, 10}, 4); }, [&] { w.form->unload(); }});
    EXPECT_EQ(img.left(), 1500 - 40 * w.toolkit.twipsPerPixelX());
    EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up 1 " + std::to_string(static_cast<int>(2 * w.toolkit.twipsPerPixelX()))}));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(Win32PictureBox, DrawsInTwipsOrAUserScaleIntoItsBuffer) {
    Window w;
    auto& pic = w.as<PictureBox>(w.form->addPictureBox("pic", nullptr, {0, 0, 1500, 1500}));
    pic.setBackColor(0xFFFFFF);
    const double tpp = w.toolkit.twipsPerPixelX();
    pic.fillBox(10 * tpp, 10 * tpp, 20 * tpp, 20 * tpp, 0x0000FF);  // red
    EXPECT_EQ(pic.bufferPixel(15, 15), RGB(255, 0, 0));
    EXPECT_EQ(pic.bufferPixel(25, 25), RGB(255, 255, 255));
    pic.setUserScale(0, 0, 10, 10);  // 10 units over 100 pixels
    pic.fillBox(5, 5, 6, 6, 0xFF0000);
    EXPECT_EQ(pic.bufferPixel(55, 55), RGB(0, 0, 255));
    EXPECT_EQ(errorNumberOf([&] { pic.setUserScale(0, 0, 0, 10); }), 380);
    EXPECT_NEAR(pic.textWidth("Ag") * 100 / 10, w.form->textWidth("Ag") / tpp, 1.0);
    // A bitmap, green on the left and blue on the right, stretched to twice its size.
    picture::Image two = picture::solidImage(20, 1, 0x00FF00);
    for (int x = 10; x < 20; ++x) two.at(x, 0) = 0xFF0000;
    const std::vector<uint8_t> bmp = picture::encodeBmp(two);
    pic.setScaleTwips();
    pic.paintPicture({platform::cf::kBitmap, bmp}, 50 * tpp, 60 * tpp, 40 * tpp, 20 * tpp);
    EXPECT_EQ(pic.bufferPixel(55, 70), RGB(0, 255, 0));
    EXPECT_EQ(pic.bufferPixel(85, 70), RGB(0, 0, 255));
    // What was drawn survives a new size.
    pic.setWidth(1800);
    EXPECT_EQ(pic.bufferPixel(15, 15), RGB(255, 0, 0));
    pic.clear();
    EXPECT_EQ(pic.bufferPixel(15, 15), RGB(255, 255, 255));
}

TEST(Win32Form, SizeCloseBoxOwnerAndErrors) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    {
        Toolkit tk([owner] { return owner; });
        auto form = tk.makeForm({"frmTool", FormStyle::SizableToolWindow, 3000, 2000, {}});
        EXPECT_EQ(::GetWindow(form->hwnd(), GW_OWNER), owner);
        EXPECT_TRUE(::GetWindowLongPtrW(form->hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_FALSE(::GetWindowLongPtrW(form->hwnd(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        int resizes = 0, unloads = 0;
        form->onResize = [&] { ++resizes; };
        form->onUnload = [&] { ++unloads; };
        form->setWidth(form->width() + 1500);
        form->setWidth(form->width());
        EXPECT_EQ(resizes, 1);
        EXPECT_EQ(form->scaleWidth(), 4500);
        RECT client;
        ::GetClientRect(form->hwnd(), &client);
        EXPECT_EQ(client.right, tk.pixelsX(4500));
        form->addLabel("lbl", nullptr, {0, 0, 100, 100});
        EXPECT_EQ(errorNumberOf([&] { form->addLabel("lbl", nullptr, {0, 0, 100, 100}); }), 360);
        ModalScript script(tk, {[&] {
                                    EXPECT_FALSE(::IsWindowEnabled(owner));
                                    EXPECT_EQ(errorNumberOf([&] { form->showModal(); }), 400);
                                    ::PostMessageW(form->hwnd(), WM_CLOSE, 0, 0);
                                }});
        form->showModal();
        EXPECT_TRUE(script.finished());
        EXPECT_TRUE(::IsWindowEnabled(owner));
        EXPECT_FALSE(form->loaded());
        EXPECT_EQ(unloads, 1);
        EXPECT_EQ(form->hwnd(), nullptr);  // destroyed once its loop ended
        form->showModal();                 // an unloaded form is not shown
    }
    ::DestroyWindow(owner);
}

TEST(Win32Fonts, JapaneseCaptionsGetAFaceWithTheirGlyphs) {
    Window w;
    auto& label = w.as<Label>(w.form->addLabel("lbl", nullptr, {0, 0, 3000, 300}));
    label.setCaption("\xE8\xA8\xAD\xE5\xAE\x9A");  // two kanji
    HDC dc = ::GetDC(label.hwnd());
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(label.hwnd(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    WORD glyphs[2] = {0, 0};
    ::GetGlyphIndicesW(dc, L"\x8A2D\x5B9A", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(label.hwnd(), dc);
    EXPECT_NE(glyphs[0], 0xFFFF);
    EXPECT_NE(glyphs[1], 0xFFFF);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
    // 9 points at the screen's resolution.
    EXPECT_EQ(w.toolkit.logFont({}).lfHeight, -MulDiv(9, w.toolkit.dpiY(), 72));
}

}  // namespace
}  // namespace qm::win32::ui::testing
