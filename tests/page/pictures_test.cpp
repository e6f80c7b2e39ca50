// The page's pictures: command bars read from the simulated host without disturbing it,
// floating bars wrapping their controls, what is hidden left out; windows drawn from their
// controls; message boxes with the system's buttons.
#include <gtest/gtest.h>

#include "cli/html_bars.h"
#include "cli/html_window.h"
#include "core/picture/bmp.h"
#include "core/ui/headless/headless.h"

namespace qm::cli::html {
namespace {

using namespace host;

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

struct Bars {
    sim::SimHost host;
    sim::BarNodePtr bar;
    CommandBarPtr handle;

    explicit Bars(int32_t position) {
        sim::BarInit init;
        init.name = "Tools";
        init.position = position;
        init.visible = true;
        bar = host.addBar(init);
        handle = host.barHandle(bar);
    }
    CommandBarControlPtr button(int32_t id) { return handle->controls()->add({.id = id}); }
    Picture picture() {
        sim::DumpOptions options;
        options.bar = "Tools";
        return barPictures(host, options).at(0);
    }
};

TEST(BarPictures, AreReadWithoutCountingACallOrHoldingAHandle) {
    Bars b(msoBarTop);
    b.button(18);
    b.handle.reset();
    const int64_t calls = b.host.calls();
    const int64_t handles = b.host.liveHandles();
    sim::DumpOptions all;
    EXPECT_FALSE(barPictures(b.host, all).empty());
    sim::DumpOptions one;
    one.bar = "Worksheet Menu Bar";
    EXPECT_EQ(barPictures(b.host, one).size(), 1u);
    EXPECT_EQ(b.host.calls(), calls);
    EXPECT_EQ(b.host.liveHandles(), handles);
}

TEST(BarPictures, AFloatingBarWrapsItsControlsIntoRowsAsWideAsTheBar) {
    Bars b(msoBarFloating);
    for (int i = 0; i < 12; ++i) b.button(18);
    const double oneRow = b.picture().height;
    // 74 pixels inside the border hold three 23-pixel buttons: four rows of them.
    b.handle->setWidth(80);
    EXPECT_EQ(b.picture().height, oneRow + 3 * 23);
}

TEST(BarPictures, LeaveOutHiddenControlsAndShowHiddenBarsOnlyWhenAskedFor) {
    Bars b(msoBarTop);
    auto shown = b.button(18);
    shown->setStyle(msoButtonCaption);
    shown->setCaption("Shown caption");
    auto hidden = b.button(23);
    hidden->setStyle(msoButtonCaption);
    hidden->setCaption("Hidden caption");
    b.host.nodeOf(hidden)->visible = false;
    const std::string svg = b.picture().svg;
    EXPECT_NE(svg.find("Shown caption"), std::string::npos);
    EXPECT_EQ(svg.find("Hidden caption"), std::string::npos);

    b.handle->setVisible(false);
    sim::DumpOptions visible;
    visible.visibleOnly = true;
    const auto screen = barPictures(b.host, visible);
    ASSERT_EQ(screen.size(), 1u);
    EXPECT_EQ(screen[0].svg.find("Shown caption"), std::string::npos);
    sim::DumpOptions all;
    size_t pictures = 0;
    for (const Picture& p : barPictures(b.host, all)) pictures += p.caption == "Command bar \"Tools\": docked at the top, row 4, hidden";
    EXPECT_EQ(pictures, 1u);
}

TEST(BarPictures, FacesAreTheAddInsArtworkOrATileWithExcelsNumber) {
    Bars b(msoBarTop);
    b.button(3);  // Save: Excel's face 3
    auto own = b.handle->controls()->add({.type = msoControlButton});
    b.host.clipboard().setPicture({platform::cf::kBitmap, picture::encodeBmp(picture::solidImage(16, 16, 0x0000FF))},
                                  platform::cf::kBitmap);
    own->pasteFace();
    own->setStyle(msoButtonIcon);
    const std::string svg = b.picture().svg;
    EXPECT_EQ(count(svg, "data:image/png;base64,"), 1u);
    EXPECT_EQ(count(svg, "<title>Excel&apos;s face 3</title>"), 1u);
    EXPECT_EQ(count(svg, "Excel&apos;s face"), 1u);
}

TEST(BarPictures, ADisabledFaceIsDimmedWithItsTileAndTooltipInside) {
    Bars b(msoBarTop);
    b.button(4)->setEnabled(false);
    b.button(3);
    const std::string svg = b.picture().svg;
    const size_t dimmed = svg.find("<g opacity=\"0.4\"><g><title>Excel&apos;s face 4</title>");
    ASSERT_NE(dimmed, std::string::npos);
    // Both groups close before the next face begins.
    const size_t next = svg.find("<title>Excel&apos;s face 3</title>");
    ASSERT_NE(next, std::string::npos);
    EXPECT_NE(svg.substr(dimmed, next - dimmed).find("</text></g></g>"), std::string::npos);
    EXPECT_EQ(count(svg, "opacity="), 1u);
}

TEST(BarPictures, AMenuBarShowsItsCaptionsWithAccessKeysAndItsMenusOpen) {
    sim::SimHost host;
    sim::DumpOptions options;
    options.bar = "Worksheet Menu Bar";
    const std::string svg = barPictures(host, options).at(0).svg;
    // "&File" on the bar and on its menu's tab; "&New..." in the menu.
    EXPECT_EQ(count(svg, "<tspan text-decoration=\"underline\">F</tspan>ile</text>"), 2u);
    EXPECT_EQ(count(svg, "<tspan text-decoration=\"underline\">N</tspan>ew...</text>"), 1u);
}

// ---------------------------------------------------------------- windows

struct Window {
    ui::headless::Toolkit toolkit{{}};
    std::unique_ptr<ui::headless::Form> form = toolkit.makeForm({"frmTest", ui::FormStyle::Dialog, 4800, 3600, {}});
};

TEST(WindowPictures, LeaveOutWhatIsHiddenAndWhatIsInsideIt) {
    Window w;
    w.form->setCaption("Test window");
    w.form->addLabel("lblShown", nullptr, {120, 120, 2000, 240}).setCaption("Shown label");
    auto& frame = w.form->addFrame("fraHidden", nullptr, {120, 600, 3000, 1500});
    w.form->addLabel("lblInside", &frame, {120, 300, 2000, 240}).setCaption("Inside the hidden frame");
    frame.setVisible(false);
    auto& button = w.form->addButton("cmdHidden", nullptr, {120, 2400, 1200, 360});
    button.setCaption("Hidden button");
    button.setVisible(false);
    const Picture p = windowPicture(*w.form);
    EXPECT_NE(p.svg.find("Shown label"), std::string::npos);
    EXPECT_NE(p.svg.find("Test window"), std::string::npos);
    EXPECT_EQ(p.svg.find("Inside the hidden frame"), std::string::npos);
    EXPECT_EQ(p.svg.find("Hidden button"), std::string::npos);
    // Outer size: the client area and the dialog's frame, in pixels.
    EXPECT_EQ(p.width, (4800 + 90) / 15);
    EXPECT_EQ(p.height, (3600 + 480) / 15);
}

TEST(WindowPictures, APictureBoxInsideAnotherIsPartOfTheOuterOnesSvg) {
    Window w;
    auto& outer = w.form->addPictureBox("picOuter", nullptr, {0, 0, 3000, 3000});
    auto& inner = w.form->addPictureBox("picInner", &outer, {300, 300, 1500, 1500});
    inner.printText(0, 0, "node 1");
    w.form->addButton("cmdOnTop", &outer, {0, 2400, 1200, 360}).setCaption("On the picture box");
    const std::string svg = windowPicture(*w.form).svg;
    EXPECT_EQ(count(svg, "data:image/svg+xml;base64,"), 1u);
    // The button is drawn over the picture box, by the window.
    EXPECT_NE(svg.find("On the picture box"), std::string::npos);
}

TEST(WindowPictures, AListShowsTheRowsThatFitInIt) {
    Window w;
    auto& list = w.form->addListView("lstRows", nullptr, {0, 0, 3000, 1800});  // 120 pixels
    list.addColumn("Objects", 2800);
    for (int i = 1; i <= 40; ++i) list.insertItem(i, "row " + std::to_string(i) + " text");
    list.setChecked(2, true);
    const std::string svg = windowPicture(*w.form).svg;
    // A header row (18 pixels) and rows of 17 pixels inside the 2-pixel border: the header
    // and six rows, the last cut by the border.
    EXPECT_NE(svg.find(">row 1 text<"), std::string::npos);
    EXPECT_NE(svg.find(">row 6 text<"), std::string::npos);
    EXPECT_EQ(svg.find(">row 7 text<"), std::string::npos);
    EXPECT_NE(svg.find(">Objects<"), std::string::npos);
}

// ---------------------------------------------------------------- message boxes

scripted::Event box(const std::string& text, int style, int result) {
    scripted::Event e;
    e.kind = scripted::Event::Kind::MessageBox;
    e.text = text;
    e.style = style;
    e.title = "Quillmark in Excel";
    e.result = result;
    return e;
}

TEST(MessageBoxPictures, ShowTheButtonsOfTheStyleInTheSystemsLanguage) {
    const std::string english = messageBoxPicture(box("Question?", 35, platform::mb::kResultNo), false).svg;
    const size_t yes = english.find("<tspan text-decoration=\"underline\">Y</tspan>es");
    const size_t no = english.find("<tspan text-decoration=\"underline\">N</tspan>o");
    const size_t cancel = english.find(">Cancel<");
    ASSERT_NE(yes, std::string::npos);
    ASSERT_NE(no, std::string::npos);
    ASSERT_NE(cancel, std::string::npos);
    EXPECT_LT(yes, no);
    EXPECT_LT(no, cancel);
    // The pressed button is ringed: No, drawn after its caption and before Cancel.
    const size_t ring = english.find("stroke=\"#E8740C\"");
    EXPECT_GT(ring, no);
    EXPECT_LT(ring, cancel);
    EXPECT_EQ(count(english, "stroke=\"#E8740C\""), 1u);

    const std::string japanese = messageBoxPicture(box("質問", 35, platform::mb::kResultYes), true).svg;
    EXPECT_NE(japanese.find("はい(<tspan text-decoration=\"underline\">Y</tspan>)"), std::string::npos);
    EXPECT_NE(japanese.find("いいえ(<tspan text-decoration=\"underline\">N</tspan>)"), std::string::npos);
    EXPECT_NE(japanese.find(">キャンセル<"), std::string::npos);

    const std::string ok = messageBoxPicture(box("Stop.", 16, platform::mb::kResultOk), false).svg;
    EXPECT_NE(ok.find(">OK<"), std::string::npos);
    EXPECT_EQ(ok.find("Cancel"), std::string::npos);
}

TEST(MessageBoxPictures, BreakLongTextIntoLinesAndKeepItsOwnBreaks) {
    const std::string words(60, 'x');
    const Picture p = messageBoxPicture(box(words + " " + words + " " + words + "\n\nSecond paragraph", 64, 1), false);
    // Each 60-character word is about 330 pixels: one a line, then an empty line and the last.
    EXPECT_EQ(count(p.svg, ">" + words + "<"), 3u);
    EXPECT_EQ(count(p.svg, ">Second paragraph<"), 1u);
    EXPECT_LT(p.width, 600);
}

}  // namespace
}  // namespace qm::cli::html
