// Command bars drawn as Excel 2000-2003 draws them: docked rows, floating toolbars, menu
// bars and their drop-down menus with cascades.
#include "cli/html_bars.h"

#include <algorithm>

#include "cli/html_screen.h"
#include "core/host/constants.h"
#include "core/picture/bmp.h"
#include "core/text/strings.h"

namespace qm::cli::html {

using namespace host;
using sim::BarNodePtr;
using sim::ControlNode;
using sim::ControlNodePtr;

namespace {

// Sizes in pixels: a docked row, the controls in it, the grip before the first control,
// a floating bar's border and title, and the items of a drop-down menu.
constexpr double kRow = kDockRow;
constexpr double kControl = 22;
constexpr double kGrip = 8;
constexpr double kFloatBorder = 3;
constexpr double kFloatTitle = 16;
constexpr double kItem = 22;
constexpr double kMenuSeparator = 5;
constexpr double kIconColumn = 24;
constexpr double kFaceSize = 16;

// The Office XP/2003 menus on the classic scheme.
constexpr const char* kMenuBack = "#FBFAF8";
constexpr const char* kMenuIcons = "#DBD8D1";
constexpr const char* kMenuBorder = "#666666";
constexpr const char* kHot = "#B6BDD2";
constexpr const char* kHotBorder = "#0A246A";
constexpr const char* kPressed = "#E4E2DD";
constexpr const char* kTitleBlue = "#0A246A";

// The pasted faces of the add-in's artwork are drawn on the classic button face, which
// the toolbar shows through.
constexpr uint32_t kArtworkBackground = 0xC0C0C0;

TextStyle style(bool enabled, bool bold = false) {
    TextStyle s;
    s.color = enabled ? kText : kGrayText;
    s.bold = bold;
    return s;
}

std::vector<ControlNodePtr> shownControls(const sim::BarNode& bar) {
    std::vector<ControlNodePtr> out;
    for (const auto& c : bar.controls) {
        if (c->visible) out.push_back(c);
    }
    return out;
}

void arrowDown(Svg& svg, double x, double y, std::string_view color) {
    svg.polygon({{x, y}, {x + 5, y}, {x + 2.5, y + 3}}, color);
}

void arrowRight(Svg& svg, double x, double y, std::string_view color) {
    svg.polygon({{x, y}, {x + 4, y + 4}, {x, y + 8}}, color);
}

void checkMark(Svg& svg, double x, double y, std::string_view color) {
    svg.polygon({{x, y + 3}, {x + 2, y + 5}, {x + 6, y + 1}, {x + 6, y + 3}, {x + 2, y + 7}, {x, y + 5}}, color);
}

// A vertical separator before a control that begins a group.
void separator(Svg& svg, double x, double y, double h) {
    svg.rect(x, y + 3, 1, h - 6, kShadow);
    svg.rect(x + 1, y + 3, 1, h - 6, kLight);
}

// ---------------------------------------------------------------- faces

// A control's face at (x, y), 16 pixels square.
void drawFace(Svg& svg, const ControlNode& c, double x, double y, bool enabled) {
    if (!enabled) svg.group(" opacity=\"0.4\"");
    if (c.pastedFace) {
        if (auto image = picture::decodeBmp(c.pastedFace->bytes)) {
            svg.image(x, y, kFaceSize, kFaceSize, pngDataUri(*image, kArtworkBackground));
        }
    } else {
        const int32_t id = c.faceId != 0 ? c.faceId : c.id;
        svg.beginTitle("Excel's face " + std::to_string(id));
        svg.rect(x, y, kFaceSize, kFaceSize, "#EEECE7");
        svg.frame(x, y, kFaceSize, kFaceSize, "#9A978F");
        TextStyle digits;
        digits.size = id >= 1000 ? 5.5 : 7;
        digits.color = "#3C3C3C";
        digits.anchor = Anchor::Middle;
        digits.family = "'Liberation Sans Narrow', 'Arial Narrow', sans-serif";
        svg.text(x + kFaceSize / 2, y + 10.5, std::to_string(id), digits, kFaceSize - 2);
        svg.end();
    }
    if (!enabled) svg.end();
}

// ---------------------------------------------------------------- toolbar controls

// One control of a horizontal bar, in a box `w` wide and kControl high at (x, y).
void drawControl(Svg& svg, const sim::SimHost& host, const ControlNodePtr& c, double x, double y, double w,
                 bool menuBar) {
    const bool enabled = host.controlEnabled(c);
    if (c->type == msoControlButton && host.controlState(c) == msoButtonDown) {
        svg.rect(x, y, w, kControl, kPressed);
        svg.sunken(x, y, w, kControl, true);
    }
    const double baseline = y + 15;
    switch (c->type) {
        case msoControlButton: {
            const int32_t shown = host.shownStyle(c);
            if (shown == msoButtonIcon && c->hasFace()) {
                drawFace(svg, *c, x + (w - kFaceSize) / 2, y + 3, enabled);
            } else if (shown == msoButtonCaption || !c->hasFace()) {
                svg.caption(x + 4, baseline, c->caption, style(enabled), w - 6);
            } else {
                drawFace(svg, *c, x + 3, y + 3, enabled);
                svg.caption(x + 23, baseline, c->caption, style(enabled), w - 25);
            }
            break;
        }
        case msoControlPopup:
            if (menuBar) {
                svg.caption(x + 4, baseline, c->caption, style(enabled), w - 6);
            } else {
                svg.caption(x + 3, baseline, c->caption, style(enabled), w - 13);
                arrowDown(svg, x + w - 8, y + 10, enabled ? kText : kGrayText);
            }
            break;
        case msoControlEdit:
        case msoControlDropdown:
        case msoControlComboBox:
            svg.rect(x + 2, y + 1, w - 4, kControl - 2, enabled ? kWindow : kFace);
            svg.frame(x + 2, y + 1, w - 4, kControl - 2, kShadow);
            svg.rect(x + w - 14, y + 2, 11, kControl - 4, kFace);
            arrowDown(svg, x + w - 11, y + 10, kText);
            break;
        case msoControlSplitButtonPopup:
            drawFace(svg, *c, x + 3, y + 3, enabled);
            svg.rect(x + w - 12, y + 3, 1, kControl - 6, kShadow);
            arrowDown(svg, x + w - 8, y + 10, enabled ? kText : kGrayText);
            break;
        default: drawFace(svg, *c, x + (w - kFaceSize) / 2, y + 3, enabled);
    }
}

}  // namespace

// ---------------------------------------------------------------- bars

void drawDockedBar(Svg& svg, const sim::SimHost& host, const BarNodePtr& bar, double x, double y, double width) {
    const bool menuBar = bar->type == msoBarTypeMenuBar;
    svg.rect(x, y, width, kRow, kFace);
    svg.raised(x, y, width, kRow, true);
    // The grip the user drags the bar by.
    for (double gy = y + 4; gy < y + kRow - 4; gy += 2) svg.rect(x + 3, gy, 2, 1, kShadow);
    double cx = x + kGrip;
    bool first = true;
    for (const auto& c : shownControls(*bar)) {
        const double w = host.controlWidth(c);
        if (c->beginGroup && !first && !menuBar) separator(svg, cx - 1, y + 2, kControl);
        svg.begin(cx, y + 2, std::max(0.0, std::min(w, x + width - cx)), kControl);
        drawControl(svg, host, c, 0, 0, w, menuBar);
        svg.end();
        cx += w;
        first = false;
    }
}

void drawVerticalBar(Svg& svg, const sim::SimHost& host, const BarNodePtr& bar, double x, double y, double length) {
    svg.rect(x, y, kRow, length, kFace);
    svg.raised(x, y, kRow, length, true);
    for (double gx = x + 4; gx < x + kRow - 4; gx += 2) svg.rect(gx, y + 3, 1, 2, kShadow);
    double cy = y + kGrip;
    bool first = true;
    for (const auto& c : shownControls(*bar)) {
        const double w = host.controlWidth(c);
        if (c->beginGroup && !first) {
            svg.rect(x + 3, cy - 1, kRow - 6, 1, kShadow);
            svg.rect(x + 3, cy, kRow - 6, 1, kLight);
        }
        const bool upright = c->type == msoControlSplitButtonPopup ||
                             (c->type == msoControlButton && c->hasFace() && host.shownStyle(c) == msoButtonIcon);
        if (upright) {
            // Faces stay upright; a split button's arrow goes below its face.
            drawFace(svg, *c, x + (kRow - kFaceSize) / 2, cy + 3, host.controlEnabled(c));
            if (c->type == msoControlSplitButtonPopup) arrowDown(svg, x + kRow / 2 - 2.5, cy + w - 8, kText);
        } else {
            // Captions, boxes and menus turn a quarter, as the vertical bar shows them.
            svg.group(" transform=\"translate(" + num(x + 2 + kControl) + " " + num(cy) + ") rotate(90)\"");
            drawControl(svg, host, c, 0, 0, w, false);
            svg.end();
        }
        cy += w;
        first = false;
    }
}

namespace {

// Where each control of a floating bar goes: the bar wraps its controls into rows as
// wide as the bar.
struct Placed {
    ControlNodePtr control;
    double x = 0;
    double y = 0;
    double width = 0;
    bool rowStart = false;
};

std::vector<Placed> floatingLayout(const sim::SimHost& host, const BarNodePtr& bar, double& rows) {
    const double inner = host.barPlacement(bar).width - 2 * kFloatBorder;
    std::vector<Placed> placed;
    double x = 0, y = 0;
    rows = 1;
    for (const auto& c : shownControls(*bar)) {
        const double w = host.controlWidth(c);
        if (x > 0 && x + w > inner + 0.5) {
            x = 0;
            y += kControl + 1;
            ++rows;
        }
        placed.push_back({c, x, y, w, x == 0});
        x += w;
    }
    return placed;
}

Size floatingBarSize(const sim::SimHost& host, const BarNodePtr& bar) {
    double rows = 1;
    floatingLayout(host, bar, rows);
    return {static_cast<double>(host.barPlacement(bar).width), 2 * kFloatBorder + kFloatTitle + rows * (kControl + 1) + 1};
}

}  // namespace

void drawFloatingBar(Svg& svg, const sim::SimHost& host, const BarNodePtr& bar, double x, double y, bool shown) {
    const Size size = floatingBarSize(host, bar);
    svg.rect(x, y, size.width, size.height, kFace);
    svg.raised(x, y, size.width, size.height);
    svg.rect(x + kFloatBorder, y + kFloatBorder, size.width - 2 * kFloatBorder, kFloatTitle,
             shown ? kTitleBlue : kShadow);
    TextStyle title;
    title.color = shown ? "#FFFFFF" : "#D4D0C8";
    title.bold = true;
    svg.text(x + kFloatBorder + 3, y + kFloatBorder + 12, bar->name, title, size.width - 2 * kFloatBorder - 20);
    // The close box.
    const double bx = x + size.width - kFloatBorder - 15, by = y + kFloatBorder + 2;
    svg.rect(bx, by, 13, 12, kFace);
    svg.raised(bx, by, 13, 12, true);
    svg.line(bx + 3.5, by + 3.5, bx + 9.5, by + 8.5, kText, 1.5);
    svg.line(bx + 9.5, by + 3.5, bx + 3.5, by + 8.5, kText, 1.5);
    const double left = x + kFloatBorder, top = y + kFloatBorder + kFloatTitle + 1;
    double rows = 1;
    for (const Placed& p : floatingLayout(host, bar, rows)) {
        if (p.control->beginGroup && !p.rowStart) separator(svg, left + p.x - 1, top + p.y, kControl);
        svg.begin(left + p.x, top + p.y, std::max(0.0, std::min(p.width, size.width - 2 * kFloatBorder - p.x)), kControl);
        drawControl(svg, host, p.control, 0, 0, p.width, false);
        svg.end();
    }
}

// ---------------------------------------------------------------- drop-down menus

namespace {

// The pop-up item whose menu is shown opened: the first one that holds something.
ControlNodePtr openedItem(const sim::BarNode& menu) {
    for (const auto& c : shownControls(menu)) {
        if (c->subBar && !shownControls(*c->subBar).empty()) return c;
    }
    return nullptr;
}

double menuWidth(const sim::BarNode& menu) {
    double widest = 0;
    for (const auto& c : shownControls(menu)) widest = std::max(widest, textWidth(parseCaption(c->caption).text, 11));
    return std::max(120.0, kIconColumn + 8 + widest + 36);
}

double itemTop(const sim::BarNode& menu, const ControlNodePtr& item) {
    double y = 2;
    bool first = true;
    for (const auto& c : shownControls(menu)) {
        if (c->beginGroup && !first) y += kMenuSeparator;
        if (c == item) return y;
        y += kItem;
        first = false;
    }
    return y;
}

double menuHeight(const sim::BarNode& menu) { return itemTop(menu, nullptr) + 2; }

// A cascade opens to the right of its item, overlapping the menu's border.
constexpr double kCascadeOverlap = 3;

// A drop-down menu with its first sub-menu opened beside it, and the size of both.
Size menuTreeSize(const sim::BarNode& menu) {
    Size size{menuWidth(menu), menuHeight(menu)};
    if (auto item = openedItem(menu)) {
        const Size sub = menuTreeSize(*item->subBar);
        size.width += sub.width - kCascadeOverlap;
        size.height = std::max(size.height, itemTop(menu, item) - 3 + sub.height);
    }
    return size;
}

void drawMenu(Svg& svg, const sim::SimHost& host, const sim::BarNode& menu, double x, double y) {
    const double w = menuWidth(menu), h = menuHeight(menu);
    const ControlNodePtr opened = openedItem(menu);
    svg.rect(x, y, w, h, kMenuBack);
    svg.rect(x + 1, y + 1, kIconColumn, h - 2, kMenuIcons);
    svg.frame(x, y, w, h, kMenuBorder);
    bool first = true;
    for (const auto& c : shownControls(menu)) {
        const double top = y + itemTop(menu, c);
        if (c->beginGroup && !first) svg.rect(x + kIconColumn + 8, top - 3, w - kIconColumn - 9, 1, "#A6A6A6");
        first = false;
        const bool enabled = host.controlEnabled(c);
        if (c == opened) {
            svg.rect(x + 2, top, w - 4, kItem, kHot);
            svg.frame(x + 2, top, w - 4, kItem, kHotBorder);
        }
        const bool checked = c->type == msoControlButton && host.controlState(c) == msoButtonDown;
        if (checked) {
            svg.rect(x + 3, top + 1, 20, 20, kHot);
            svg.frame(x + 3, top + 1, 20, 20, kHotBorder);
        }
        const bool icon = c->type == msoControlButton && c->hasFace() && host.shownStyle(c) != msoButtonCaption;
        if (icon) {
            drawFace(svg, *c, x + 5, top + 3, enabled);
        } else if (checked) {
            checkMark(svg, x + 10, top + 7, kText);
        }
        svg.caption(x + kIconColumn + 8, top + 15, c->caption, style(enabled), w - kIconColumn - 30);
        if (c->subBar) arrowRight(svg, x + w - 14, top + 7, enabled ? kText : kGrayText);
    }
    if (opened) drawMenu(svg, host, *opened->subBar, x + w - kCascadeOverlap, y + itemTop(menu, opened) - 3);
}

// The menus of a bar's pop-up controls, opened and laid out below it in rows: each under
// its own caption where there is room, else after the one before. A tab like the caption
// of an open menu heads each.
constexpr double kTab = 20;
constexpr double kGap = 10;

struct OpenMenu {
    ControlNodePtr popup;
    double captionX = 0;
    Size size;
};

double drawOpenMenus(Svg* svg, const sim::SimHost& host, const std::vector<OpenMenu>& menus, double top,
                     double width) {
    double x = 0, y = top, rowHeight = 0;
    for (const OpenMenu& m : menus) {
        const double w = m.size.width, h = m.size.height + kTab - 1;
        const double wanted = std::max(0.0, std::min(m.captionX, width - w));
        double at = std::max(x, wanted);
        if (at + w > width && x > 0) {
            y += rowHeight + kGap;
            rowHeight = 0;
            at = wanted;
        }
        if (svg) {
            const double tabWidth = std::min(w, static_cast<double>(host.controlWidth(m.popup)));
            svg->rect(at, y, tabWidth, kTab, kMenuIcons);
            svg->rect(at, y, tabWidth, 1, kMenuBorder);
            svg->rect(at, y, 1, kTab, kMenuBorder);
            svg->rect(at + tabWidth - 1, y, 1, kTab, kMenuBorder);
            svg->caption(at + 4, y + 14, m.popup->caption, style(host.controlEnabled(m.popup)), tabWidth - 6);
            drawMenu(*svg, host, *m.popup->subBar, at, y + kTab - 1);
            svg->rect(at + 1, y + kTab - 1, tabWidth - 2, 1, kMenuIcons);
        }
        x = at + w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    return menus.empty() ? top : y + rowHeight;
}

std::vector<OpenMenu> openMenusOf(const sim::SimHost& host, const BarNodePtr& bar) {
    std::vector<OpenMenu> menus;
    double x = kGrip;
    for (const auto& c : shownControls(*bar)) {
        if (c->subBar && !shownControls(*c->subBar).empty()) menus.push_back({c, x, menuTreeSize(*c->subBar)});
        x += host.controlWidth(c);
    }
    return menus;
}

std::string positionWords(int32_t position, int32_t row) {
    switch (position) {
        case msoBarTop: return "docked at the top, row " + std::to_string(row);
        case msoBarBottom: return "docked at the bottom, row " + std::to_string(row);
        case msoBarLeft: return "docked on the left, row " + std::to_string(row);
        case msoBarRight: return "docked on the right, row " + std::to_string(row);
        case msoBarFloating: return "floating";
        default: return "a shortcut menu";
    }
}

Picture onePicture(const sim::SimHost& host, const BarNodePtr& bar) {
    const auto place = host.barPlacement(bar);
    const bool shown = host.barShown(bar);
    std::string caption = "Command bar \"" + bar->name + "\": " + positionWords(bar->position, bar->rowIndex) +
                          (shown ? "" : ", hidden");
    if (bar->position == msoBarPopup) {
        const Size size = menuTreeSize(*bar);
        Svg svg(size.width, size.height);
        drawMenu(svg, host, *bar, 0, 0);
        return svg.picture(std::move(caption));
    }
    const bool vertical = bar->position == msoBarLeft || bar->position == msoBarRight;
    const bool floating = bar->position == msoBarFloating;
    const Size barSize = floating ? floatingBarSize(host, bar)
                         : vertical ? Size{kRow, static_cast<double>(place.width)}
                                    : Size{static_cast<double>(place.width), kRow};
    const std::vector<OpenMenu> menus = openMenusOf(host, bar);
    double width = barSize.width;
    for (const OpenMenu& m : menus) width = std::max(width, m.size.width);
    width = std::max(width, std::min(kPageContentWidth, barSize.width + 400));
    const double menusTop = vertical ? 0 : barSize.height + 4;
    const double menusLeft = vertical ? barSize.width + 8 : 0;
    const double bottom = drawOpenMenus(nullptr, host, menus, menusTop, width - menusLeft);
    Svg svg(vertical ? menusLeft + width : width, std::max(barSize.height, bottom));
    if (floating) drawFloatingBar(svg, host, bar, 0, 0, shown);
    else if (vertical) drawVerticalBar(svg, host, bar, 0, 0, barSize.height);
    else drawDockedBar(svg, host, bar, 0, 0, barSize.width);
    svg.begin(menusLeft, 0);
    drawOpenMenus(&svg, host, menus, menusTop, width - menusLeft);
    svg.end();
    return svg.picture(std::move(caption));
}

}  // namespace

std::vector<Picture> barPictures(const sim::SimHost& host, const sim::DumpOptions& options) {
    if (options.bar) {
        auto bar = host.findBar(*options.bar);
        if (!bar) return {};
        return {onePicture(host, bar)};
    }
    std::vector<Picture> pictures = {screenPicture(host)};
    if (options.visibleOnly) return pictures;
    for (const auto& bar : host.bars()) {
        if (!host.barShown(bar)) pictures.push_back(onePicture(host, bar));
    }
    return pictures;
}

}  // namespace qm::cli::html
