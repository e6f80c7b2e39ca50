// The add-in's windows and message boxes as pictures.
#include "cli/html_window.h"

#include <algorithm>

#include "core/picture/bmp.h"
#include "core/text/strings.h"
#include "core/text/utf8.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/headless.h"
#include "core/ui/headless/metrics.h"

namespace qm::cli::html {
namespace {

namespace hl = ui::headless;
using hl::Kind;
namespace mb = platform::mb;

constexpr double kTwips = hl::Form::kTwipsPerPixel;
constexpr double kListRow = 17;
constexpr double kListHeader = 18;
constexpr const char* kGrayTextShadow = "#FFFFFF";
constexpr const char* kScrollTrack = "#ECEAE6";

double px(double twips) { return twips / kTwips; }

TextStyle fontStyle(const ui::Font& font, std::string_view color) {
    TextStyle s;
    s.size = font.size * 4 / 3;
    s.family = "'" + font.name + "', " + kUiFont;
    s.bold = font.bold;
    s.italic = font.italic;
    s.color = std::string(color);
    return s;
}

// Text in a box, vertically centred; greyed text is embossed as the classic look does.
void boxText(Svg& svg, double x, double y, double h, std::string_view caption, TextStyle s, bool enabled,
             double maxWidth) {
    const double baseline = y + h / 2 + s.size * 0.36;
    if (!enabled) {
        TextStyle shadow = s;
        shadow.color = kGrayTextShadow;
        svg.caption(x + 1, baseline + 1, caption, shadow, maxWidth);
        s.color = kGrayText;
    }
    svg.caption(x, baseline, caption, s, maxWidth);
}

// A triangle pointing up or down, centred at (cx, cy), 2r wide and r high.
void upDownArrow(Svg& svg, double cx, double cy, double r, bool up, std::string_view color) {
    const double tip = up ? -r / 2 : r / 2;
    svg.polygon({{cx - r, cy - tip}, {cx + r, cy - tip}, {cx, cy + tip}}, color);
}

// The arrows the windows draw with the Marlett font ("3" left, "4" right, "5" up, "6" down).
bool marlettArrow(Svg& svg, const ui::Font& font, std::string_view caption, double cx, double cy,
                  std::string_view color) {
    if (font.name != "Marlett" || caption.size() != 1) return false;
    const double r = std::max(2.0, font.size * 0.45);
    switch (caption[0]) {
        case '3': svg.polygon({{cx + r / 2, cy - r}, {cx + r / 2, cy + r}, {cx - r / 2, cy}}, color); return true;
        case '4': svg.polygon({{cx - r / 2, cy - r}, {cx - r / 2, cy + r}, {cx + r / 2, cy}}, color); return true;
        case '5': upDownArrow(svg, cx, cy, r, true, color); return true;
        case '6': upDownArrow(svg, cx, cy, r, false, color); return true;
        default: return false;
    }
}

void checkBoxMark(Svg& svg, double x, double y, std::string_view color) {
    svg.polygon({{x + 3, y + 5}, {x + 5, y + 7}, {x + 9, y + 3}, {x + 9, y + 5}, {x + 5, y + 9}, {x + 3, y + 7}}, color);
}

void smallCheckBox(Svg& svg, double x, double y, bool checked, bool grayed, bool flat) {
    svg.rect(x, y, 13, 13, grayed ? kFace : kWindow);
    if (flat) svg.frame(x, y, 13, 13, kShadow);
    else svg.sunken(x, y, 13, 13);
    if (checked) checkBoxMark(svg, x, y, grayed ? kGrayText : kText);
}

void arrowButton(Svg& svg, double x, double y, double w, double h, bool up) {
    svg.rect(x, y, w, h, kFace);
    svg.raised(x, y, w, h);
    const double cx = x + w / 2, cy = y + h / 2, r = std::clamp(std::min(w, h) / 4, 1.5, 4.0);
    upDownArrow(svg, cx, cy, r, up, kText);
}

// A push button's raised edge; the default button has a black frame around it.
void buttonEdge(Svg& svg, double x, double y, double w, double h, bool isDefault) {
    if (isDefault) {
        svg.frame(x, y, w, h, kText);
        svg.raised(x + 1, y + 1, w - 2, h - 2);
    } else {
        svg.raised(x, y, w, h);
    }
}

// ---------------------------------------------------------------- controls

void drawLabel(Svg& svg, const hl::Label& l, const ui::Bounds& b) {
    const TextStyle s = fontStyle(l.font(), hl::cssColor(l.foreColor()));
    const double line = s.size * hl::kLineHeightEm;
    // A label as high as one line keeps its text on it; a higher one wraps it at blanks.
    const auto lines = b.height < 2 * line ? text::splitLines(l.caption()) : wrapText(l.caption(), s.size, b.width);
    double y = b.top;
    for (const std::string& text : lines) {
        if (y > b.top && y + line > b.top + b.height + 1) break;
        boxText(svg, b.left, y, line, text, s, l.enabled(), b.width);
        y += line;
    }
}

void drawButton(Svg& svg, const hl::Button& button, const ui::Bounds& b) {
    svg.rect(b.left, b.top, b.width, b.height, hl::cssColor(button.faceColor()));
    buttonEdge(svg, b.left, b.top, b.width, b.height, button.isDefault());
    const std::string color = button.enabled() ? kText : kGrayText;
    if (marlettArrow(svg, button.font(), button.caption(), b.left + b.width / 2, b.top + b.height / 2, color)) return;
    TextStyle s = fontStyle(button.font(), color);
    s.anchor = Anchor::Middle;
    boxText(svg, b.left + b.width / 2, b.top, b.height, button.caption(), s, button.enabled(), b.width - 6);
}

void drawCheckBox(Svg& svg, const hl::CheckBox& box, const ui::Bounds& b) {
    smallCheckBox(svg, b.left, b.top + (b.height - 13) / 2, box.value() != 0, box.value() == 2, false);
    boxText(svg, b.left + 17, b.top, b.height, box.caption(), fontStyle(box.font(), kText), box.enabled(), b.width - 17);
}

void drawFrame(Svg& svg, const hl::Frame& frame, const ui::Bounds& b) {
    const TextStyle s = fontStyle(frame.font(), kText);
    const double middle = s.size / 2;
    svg.etched(b.left, b.top + middle, b.width, b.height - middle);
    const Caption shown = parseCaption(frame.caption());
    if (shown.text.empty()) return;
    const double w = std::min(textWidth(shown.text, s.size) + 4, b.width - 12);
    svg.rect(b.left + 6, b.top, w, s.size + 2, kFace);
    boxText(svg, b.left + 8, b.top, s.size + 2, frame.caption(), s, frame.enabled(), w - 2);
}

void drawTextBox(Svg& svg, const hl::TextBox& box, const ui::Bounds& b) {
    svg.rect(b.left, b.top, b.width, b.height, box.enabled() ? hl::cssColor(box.backColor()) : kFace);
    svg.sunken(b.left, b.top, b.width, b.height);
    const TextStyle s = fontStyle(box.font(), kText);
    svg.begin(b.left + 2, b.top + 2, std::max(0.0, b.width - 4), std::max(0.0, b.height - 4));
    const double inner = b.height - 4;
    if (box.hasFocus() && box.selLength() > 0) {
        // The selection: highlighted, its characters in white.
        const std::u32string all = text::utf8::decode(box.text());
        const auto start = static_cast<size_t>(std::min<int>(box.selStart(), static_cast<int>(all.size())));
        const auto length = std::min(static_cast<size_t>(box.selLength()), all.size() - start);
        const std::string before = text::utf8::encode(all.substr(0, start));
        const std::string selected = text::utf8::encode(all.substr(start, length));
        const double x = 1 + textWidth(before, s.size);
        svg.rect(x, 1, textWidth(selected, s.size), inner - 2, kHighlight);
        boxText(svg, 1, 0, inner, before, s, true, 0);
        TextStyle white = s;
        white.color = kWindow;
        boxText(svg, x, 0, inner, selected, white, true, 0);
        boxText(svg, x + textWidth(selected, s.size), 0, inner, text::utf8::encode(all.substr(start + length)), s, true, 0);
    } else {
        boxText(svg, 1, 0, inner, box.text(), s, box.enabled(), 0);
    }
    svg.end();
}

void drawScrollBar(Svg& svg, const hl::ScrollBar& bar, const ui::Bounds& b) {
    if (b.height < 2 * b.width + 8) {
        // A spinner: the two arrows share the height.
        arrowButton(svg, b.left, b.top, b.width, b.height / 2, true);
        arrowButton(svg, b.left, b.top + b.height / 2, b.width, b.height - b.height / 2, false);
        return;
    }
    svg.rect(b.left, b.top, b.width, b.height, kScrollTrack);
    arrowButton(svg, b.left, b.top, b.width, b.width, true);
    arrowButton(svg, b.left, b.top + b.height - b.width, b.width, b.width, false);
    const double track = b.height - 3 * b.width;
    const int range = bar.max() - bar.min();
    const double f = range == 0 ? 0 : static_cast<double>(bar.value() - bar.min()) / range;
    svg.rect(b.left, b.top + b.width + track * f, b.width, b.width, kFace);
    svg.raised(b.left, b.top + b.width + track * f, b.width, b.width);
}

void drawListView(Svg& svg, const hl::ListView& list, const ui::Bounds& b) {
    svg.rect(b.left, b.top, b.width, b.height, kWindow);
    svg.sunken(b.left, b.top, b.width, b.height);
    svg.begin(b.left + 2, b.top + 2, std::max(0.0, b.width - 4), std::max(0.0, b.height - 4));
    const TextStyle s = fontStyle(list.font(), kText);
    std::vector<double> columnLeft = {0};
    bool headers = false;
    for (int c = 0; c < list.columnCount(); ++c) {
        columnLeft.push_back(columnLeft.back() + px(list.columnWidth(c)));
        headers = headers || !list.columnHeader(c).empty();
    }
    double y = 0;
    if (headers) {
        for (int c = 0; c < list.columnCount(); ++c) {
            const double w = columnLeft[c + 1] - columnLeft[c];
            if (w <= 0) continue;
            svg.rect(columnLeft[c], 0, w, kListHeader, kFace);
            svg.raised(columnLeft[c], 0, w, kListHeader, true);
            boxText(svg, columnLeft[c] + 4, 0, kListHeader, list.columnHeader(c), s, true, w - 6);
        }
        const double end = columnLeft.back();
        svg.rect(end, 0, std::max(0.0, b.width - end), kListHeader, kFace);
        svg.raised(end, 0, std::max(2.0, b.width - end), kListHeader, true);
        y = kListHeader;
    }
    for (int row = 1; row <= list.count() && y < b.height - 4; ++row, y += kListRow) {
        const bool selected = list.selectedRow() == row;
        TextStyle rowStyle = s;
        if (selected) {
            const bool focused = list.hasFocus();
            svg.rect(16, y, std::max(columnLeft.back(), b.width - 4) - 16, kListRow, focused ? kHighlight : kFace);
            if (focused) rowStyle.color = kWindow;
        }
        smallCheckBox(svg, 2, y + 2, list.checked(row), false, true);
        for (int c = 0; c < std::max(1, list.columnCount()); ++c) {
            const double left = c == 0 ? 18 : columnLeft[c] + 4;
            const double right = c + 1 < static_cast<int>(columnLeft.size()) ? columnLeft[c + 1] : b.width;
            if (right - left <= 0) continue;
            const std::string text = c == 0 ? list.itemText(row) : list.subItem(row, c);
            boxText(svg, left, y, kListRow, text, rowStyle, list.enabled(), right - left - 2);
        }
    }
    svg.end();
}

ui::CellAlign alignmentOf(const hl::Grid& grid, int row, int col) {
    const auto a = row < grid.fixedRows() ? grid.fixedAlignment(col) : grid.colAlignment(col);
    return a.value_or(ui::CellAlign::LeftCenter);
}

void drawGrid(Svg& svg, const hl::Grid& grid, const ui::Bounds& b) {
    svg.rect(b.left, b.top, b.width, b.height, kShadow);
    svg.sunken(b.left, b.top, b.width, b.height);
    svg.begin(b.left + 2, b.top + 2, std::max(0.0, b.width - 4), std::max(0.0, b.height - 4));
    const TextStyle s = fontStyle(grid.font(), kText);
    // Fixed rows and columns stay; the others start at the top row and left column.
    std::vector<int> rows, cols;
    for (int r = 0; r < grid.rows(); ++r) {
        if (r < grid.fixedRows() || r >= grid.topRow()) rows.push_back(r);
    }
    for (int c = 0; c < grid.cols(); ++c) {
        if (c < grid.fixedCols() || c >= grid.leftCol()) cols.push_back(c);
    }
    double y = 0;
    for (const int r : rows) {
        const double h = px(grid.rowHeight(r));
        double x = 0;
        for (const int c : cols) {
            const double w = px(grid.colWidth(c));
            const bool fixed = r < grid.fixedRows() || c < grid.fixedCols();
            svg.rect(x, y, w, h, fixed ? kFace : hl::cssColor(grid.cellBackColor(r, c)));
            if (fixed) svg.raised(x, y, w, h, true);
            else {
                svg.rect(x + w - 1, y, 1, h, "#C0C0C0");
                svg.rect(x, y + h - 1, w, 1, "#C0C0C0");
            }
            TextStyle cell = s;
            const ui::CellAlign align = alignmentOf(grid, r, c);
            double tx = x + 3;
            if (align == ui::CellAlign::CenterCenter) {
                cell.anchor = Anchor::Middle;
                tx = x + w / 2;
            } else if (align == ui::CellAlign::RightCenter) {
                cell.anchor = Anchor::End;
                tx = x + w - 3;
            }
            boxText(svg, tx, y, h, grid.textMatrix(r, c), cell, grid.enabled(), w - 4);
            if (r == grid.row() && c == grid.col() && grid.hasFocus()) {
                svg.raw("<rect x=\"" + num(x + 1.5) + "\" y=\"" + num(y + 1.5) + "\" width=\"" + num(w - 4) +
                        "\" height=\"" + num(h - 4) + "\" fill=\"none\" stroke=\"#000000\" stroke-dasharray=\"1 1\"/>");
            }
            x += w;
        }
        y += h;
    }
    svg.end();
}

void drawImage(Svg& svg, const hl::Image& image, const ui::Bounds& b) {
    if (image.mousePointer() != ui::MousePointer::Default) {
        // A splitter bar the user drags.
        svg.rect(b.left, b.top, b.width, b.height, kFace);
        if (b.width >= 3 && b.height >= 3) svg.raised(b.left, b.top, b.width, b.height, true);
        return;
    }
    if (image.picture().empty()) return;
    const auto picture = picture::decodeBmp(image.picture());
    if (!picture) return;
    // Not stretched: the picture at its own size, cut to the control.
    svg.begin(b.left, b.top, b.width, b.height);
    svg.image(0, 0, picture->width, picture->height, pngDataUri(*picture));
    svg.end();
}

// ---------------------------------------------------------------- the window

ui::Bounds pixels(const ui::Bounds& t) { return {px(t.left), px(t.top), px(t.width), px(t.height)}; }

void drawControls(Svg& svg, const hl::Form& form, const hl::Widget* container) {
    std::vector<const hl::Widget*> children;
    for (const hl::Widget* w : form.controls()) {
        if (w->container() == container && w->control().visible()) children.push_back(w);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const hl::Widget* a, const hl::Widget* b) { return a->zOrder() < b->zOrder(); });
    for (const hl::Widget* w : children) {
        const ui::Bounds b = pixels(form.absoluteBounds(w->control()));
        svg.beginTitle(w->control().name());
        switch (w->kind()) {
            case Kind::Label: drawLabel(svg, static_cast<const hl::Label&>(w->control()), b); break;
            case Kind::Button: drawButton(svg, static_cast<const hl::Button&>(w->control()), b); break;
            case Kind::CheckBox: drawCheckBox(svg, static_cast<const hl::CheckBox&>(w->control()), b); break;
            case Kind::Frame: drawFrame(svg, static_cast<const hl::Frame&>(w->control()), b); break;
            case Kind::TextBox: drawTextBox(svg, static_cast<const hl::TextBox&>(w->control()), b); break;
            case Kind::ScrollBar: drawScrollBar(svg, static_cast<const hl::ScrollBar&>(w->control()), b); break;
            case Kind::ListView: drawListView(svg, static_cast<const hl::ListView&>(w->control()), b); break;
            case Kind::Grid: drawGrid(svg, static_cast<const hl::Grid&>(w->control()), b); break;
            case Kind::Image: drawImage(svg, static_cast<const hl::Image&>(w->control()), b); break;
            case Kind::PictureBox:
                // A picture box inside another is part of the outer one's SVG.
                if (container == nullptr || container->kind() != Kind::PictureBox) {
                    const auto& box = static_cast<const hl::PictureBox&>(w->control());
                    svg.image(b.left, b.top, b.width, b.height, svgDataUri(box.toSvg()));
                }
                break;
        }
        svg.end();
        drawControls(svg, form, w);
    }
}

}  // namespace

Picture windowPicture(const hl::Form& form) {
    const bool dialog = form.style() == ui::FormStyle::Dialog;
    const double border = (dialog ? hl::Form::kDialogFrameX : hl::Form::kToolFrameX) / 2 / kTwips;
    const double frameY = (dialog ? hl::Form::kDialogFrameY : hl::Form::kToolFrameY) / kTwips;
    const double caption = frameY - 2 * border;
    const double width = form.minimized() ? 160 : px(form.width());
    const double height = form.minimized() ? frameY : px(form.height());
    Svg svg(width, height);
    svg.rect(0, 0, width, height, kFace);
    svg.raised(0, 0, width, height);
    captionBar(svg, border, border, width - 2 * border, caption, form.caption(), false);
    if (!form.minimized()) {
        svg.begin(border, border + caption, px(form.scaleWidth()), px(form.scaleHeight()));
        drawControls(svg, form, nullptr);
        svg.end();
    }
    return svg.picture("Window \"" + form.caption() + "\" (" + form.name() + ")");
}

// ---------------------------------------------------------------- message boxes

namespace {

std::vector<int> buttonsOf(int style) {
    switch (style & 0x0F) {
        case 1: return {mb::kResultOk, mb::kResultCancel};
        case 2: return {mb::kResultAbort, mb::kResultRetry, mb::kResultIgnore};
        case 3: return {mb::kResultYes, mb::kResultNo, mb::kResultCancel};
        case 4: return {mb::kResultYes, mb::kResultNo};
        case 5: return {mb::kResultRetry, mb::kResultCancel};
        default: return {mb::kResultOk};
    }
}

std::string buttonCaption(int result, bool japanese) {
    switch (result) {
        case mb::kResultOk: return "OK";
        case mb::kResultCancel: return japanese ? "キャンセル" : "Cancel";
        case mb::kResultAbort: return japanese ? "中止(&A)" : "&Abort";
        case mb::kResultRetry: return japanese ? "再試行(&R)" : "&Retry";
        case mb::kResultIgnore: return japanese ? "無視(&I)" : "&Ignore";
        case mb::kResultYes: return japanese ? "はい(&Y)" : "&Yes";
        case mb::kResultNo: return japanese ? "いいえ(&N)" : "&No";
        default: return std::to_string(result);
    }
}

void messageIcon(Svg& svg, int icon, double x, double y) {
    svg.group(" shape-rendering=\"geometricPrecision\"");
    TextStyle glyph;
    glyph.size = 22;
    glyph.bold = true;
    glyph.anchor = Anchor::Middle;
    glyph.family = "'Times New Roman', 'Liberation Serif', serif";
    if (icon == mb::kCritical) {
        svg.ellipse(x + 16, y + 16, 15, 15, "#E0201B", "#7A0000");
        svg.line(x + 10, y + 10, x + 22, y + 22, kWindow, 3.5);
        svg.line(x + 22, y + 10, x + 10, y + 22, kWindow, 3.5);
    } else if (icon == mb::kExclamation) {
        svg.polygon({{x + 16, y + 1}, {x + 31, y + 30}, {x + 1, y + 30}}, "#FFD21F");
        glyph.color = kText;
        svg.text(x + 16, y + 27, "!", glyph);
    } else {
        svg.ellipse(x + 16, y + 16, 15, 15, kWindow, "#2C5AB8");
        glyph.color = "#2C5AB8";
        svg.text(x + 16, y + 24, icon == mb::kQuestion ? "?" : "i", glyph);
    }
    svg.end();
}

}  // namespace

Picture messageBoxPicture(const scripted::Event& box, bool japanese) {
    constexpr double kBorder = 3, kCaption = 26, kMargin = 12, kIcon = 32;
    constexpr double kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6;
    TextStyle s;
    s.size = japanese ? 12 : 11;
    const double line = s.size * 1.3;
    const int icon = box.style & 0x70;
    const std::vector<std::string> lines = wrapText(box.text, s.size, 520);
    double textWidest = 0;
    for (const std::string& l : lines) textWidest = std::max(textWidest, textWidth(l, s.size));
    const std::vector<int> buttons = buttonsOf(box.style);
    const double buttonsWidth = static_cast<double>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const double textLeft = kMargin + (icon != 0 ? kIcon + kMargin : 0);
    const double contentHeight = std::max(icon != 0 ? kIcon : 0.0, static_cast<double>(lines.size()) * line);
    const double clientWidth = std::max({textLeft + textWidest + kMargin, buttonsWidth + 2 * kMargin,
                                         textWidth(box.title, 12) + 60});
    const double clientHeight = kMargin + contentHeight + 14 + kButtonHeight + kMargin;
    const double width = clientWidth + 2 * kBorder, height = clientHeight + kCaption + 2 * kBorder;
    Svg svg(width + 4, height + 4);
    // A little room around the box for the ring of the pressed button.
    svg.begin(2, 2);
    svg.rect(0, 0, width, height, kFace);
    svg.raised(0, 0, width, height);
    captionBar(svg, kBorder, kBorder, width - 2 * kBorder, kCaption, box.title, false);
    svg.begin(kBorder, kBorder + kCaption);
    if (icon != 0) messageIcon(svg, icon, kMargin, kMargin);
    const double textTop = kMargin + std::max(0.0, (contentHeight - static_cast<double>(lines.size()) * line) / 2);
    for (size_t i = 0; i < lines.size(); ++i) svg.text(textLeft, textTop + line * static_cast<double>(i) + s.size, lines[i], s);
    const size_t defaultIndex = std::min(buttons.size() - 1, static_cast<size_t>((box.style >> 8) & 3));
    double bx = (clientWidth - buttonsWidth) / 2;
    const double by = clientHeight - kMargin - kButtonHeight;
    for (size_t i = 0; i < buttons.size(); ++i, bx += kButtonWidth + kButtonGap) {
        svg.rect(bx, by, kButtonWidth, kButtonHeight, kFace);
        buttonEdge(svg, bx, by, kButtonWidth, kButtonHeight, i == defaultIndex);
        TextStyle label = s;
        label.anchor = Anchor::Middle;
        svg.caption(bx + kButtonWidth / 2, by + kButtonHeight / 2 + s.size * 0.36, buttonCaption(buttons[i], japanese),
                    label, kButtonWidth - 6);
        if (buttons[i] == box.result) {
            svg.raw("<rect x=\"" + num(bx - 2.5) + "\" y=\"" + num(by - 2.5) + "\" width=\"" + num(kButtonWidth + 5) +
                    "\" height=\"" + num(kButtonHeight + 5) +
                    "\" rx=\"3\" fill=\"none\" stroke=\"#E8740C\" stroke-width=\"2\" shape-rendering=\"geometricPrecision\"/>");
        }
    }
    svg.end();
    svg.end();
    return svg.picture("Message box \"" + box.title + "\": the user pressed " + scripted::resultName(box.result));
}

}  // namespace qm::cli::html
