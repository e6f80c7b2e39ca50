// The Excel window: frame and title, docks, formula bar, sheet, tabs and floating bars.
#include "cli/html_screen.h"

#include <algorithm>
#include <map>

#include "cli/html_bars.h"
#include "core/host/constants.h"
#include "core/picture/raster.h"
#include "core/ui/headless/describe.h"
#include "sim/render.h"
#include "sim/world.h"

namespace qm::cli::html {

using namespace host;
using sim::BarNodePtr;

namespace {

constexpr double kFrame = 4;
constexpr double kTitle = 22;
constexpr double kStatus = 20;
constexpr double kFormulaBar = 24;
constexpr double kColumnHeader = 17;
constexpr double kRowHeader = 26;
constexpr double kScrollBar = 16;
constexpr const char* kGridline = "#C0C0C0";
constexpr const char* kWorkspace = "#808080";
// A colour no drawing uses, left transparent where the shapes' picture has nothing.
constexpr uint32_t kNothingDrawn = 0x00FE01FD;

TextStyle small(std::string_view color = kText) {
    TextStyle s;
    s.color = std::string(color);
    return s;
}

void titleBar(Svg& svg, const std::string& caption, double width) {
    captionBar(svg, kFrame, kFrame, width - 2 * kFrame, kTitle, caption, true, 24);
    // Excel's icon.
    svg.rect(kFrame + 3, kFrame + 3, 16, 16, "#1E7A32");
    TextStyle mark = small("#FFFFFF");
    mark.bold = true;
    mark.anchor = Anchor::Middle;
    svg.text(kFrame + 11, kFrame + 16, "X", mark);
}

// Bars shown in one dock, by row, each row in collection order.
std::map<int32_t, std::vector<BarNodePtr>> dockRows(const sim::SimHost& host, int32_t position) {
    std::map<int32_t, std::vector<BarNodePtr>> rows;
    for (const auto& bar : host.bars()) {
        if (bar->position == position && host.barShown(bar)) rows[bar->rowIndex].push_back(bar);
    }
    return rows;
}

struct Area {
    double left, top, right, bottom;
};

// The cells, their headers, the drawing objects and the selection's handles.
void drawSheet(Svg& svg, const sim::SimHost& host, const sim::SheetNode& sheet, const Area& a) {
    const double cellsLeft = a.left + kRowHeader, cellsTop = a.top + kColumnHeader;
    std::string background = kWindow;
    if (sheet.background && sheet.background->solidColor) {
        background = ui::headless::cssColor(static_cast<uint32_t>(*sheet.background->solidColor));
    }
    svg.rect(a.left, a.top, a.right - a.left, a.bottom - a.top, kFace);
    svg.rect(cellsLeft, cellsTop, a.right - cellsLeft, a.bottom - cellsTop, background);
    svg.begin(a.left, a.top, a.right - a.left, a.bottom - a.top);
    const double right = a.right - a.left, bottom = a.bottom - a.top;
    TextStyle header = small();
    header.anchor = Anchor::Middle;
    double x = kRowHeader;
    for (int32_t c = 1; x < right && c <= sim::kSheetColumns; ++c) {
        const auto it = sheet.columnWidths.find(c);
        const double w = sim::columnPixels(it == sheet.columnWidths.end() ? sheet.columnWidth : it->second);
        if (w <= 0) continue;
        if (sheet.gridlines) svg.rect(x + w - 1, kColumnHeader, 1, bottom - kColumnHeader, kGridline);
        svg.rect(x + w - 1, 0, 1, kColumnHeader, kShadow);
        const std::string name = sim::detail::columnLetters(c);
        if (textWidth(name, 11) + 2 < w) svg.text(x + w / 2, 13, name, header);
        x += w;
    }
    double y = kColumnHeader;
    for (int32_t r = 1; y < bottom && r <= sim::kSheetRows; ++r) {
        const auto it = sheet.rowHeights.find(r);
        const double h = sim::rowPixels(it == sheet.rowHeights.end() ? sheet.rowHeight : it->second);
        if (h <= 0) continue;
        if (sheet.gridlines) svg.rect(kRowHeader, y + h - 1, right - kRowHeader, 1, kGridline);
        svg.rect(0, y + h - 1, kRowHeader, 1, kShadow);
        if (h >= 12) svg.text(kRowHeader / 2, y + h / 2 + 4, std::to_string(r), header);
        y += h;
    }
    svg.rect(kRowHeader - 1, 0, 1, bottom, kShadow);
    svg.rect(0, kColumnHeader - 1, right, 1, kShadow);
    // The drawing layer, in points from the cells' top-left corner.
    std::vector<sim::DrawingObjectPtr> shapes;
    for (const auto& o : sheet.shapes) {
        if (o->visible) shapes.push_back(o);
    }
    if (auto drawing = sim::drawShapes(shapes)) {
        drawing->scene.background = kNothingDrawn;
        const picture::Image image = picture::rasterize(drawing->scene);
        const double px = kRowHeader + drawing->scene.originX * picture::kPixelsPerPoint;
        const double py = kColumnHeader + drawing->scene.originY * picture::kPixelsPerPoint;
        svg.image(px, py, image.width, image.height, pngDataUri(image, kNothingDrawn));
        TextStyle text = small();
        text.size = 13;
        text.family = "Arial, 'Liberation Sans', 'IPAPGothic', sans-serif";
        for (const auto& line : drawing->text) {
            const picture::PointF at = picture::toPixels(drawing->scene, line.at);
            if (line.angle != 0) {
                svg.group(" transform=\"rotate(" + num(line.angle) + " " + num(px + at.x) + " " + num(py + at.y) + ")\"");
            }
            svg.text(px + at.x, py + at.y + 11, line.text, text);
            if (line.angle != 0) svg.end();
        }
    }
    for (const auto& o : host.selectedShapes()) {
        if (o->sheet.lock().get() != &sheet || !o->visible) continue;
        const double l = kRowHeader + o->left * picture::kPixelsPerPoint;
        const double t = kColumnHeader + o->top * picture::kPixelsPerPoint;
        const double w = o->width * picture::kPixelsPerPoint, h = o->height * picture::kPixelsPerPoint;
        for (const double fx : {0.0, 0.5, 1.0}) {
            for (const double fy : {0.0, 0.5, 1.0}) {
                if (fx == 0.5 && fy == 0.5) continue;
                svg.ellipse(l + w * fx, t + h * fy, 3, 3, kWindow, "#5A5A5A");
            }
        }
    }
    svg.end();
}

void sheetTabs(Svg& svg, const sim::WorkbookNode& book, const sim::SheetNodePtr& active, const Area& a) {
    svg.rect(a.left, a.bottom - kScrollBar, a.right - a.left, kScrollBar, kFace);
    svg.rect(a.left, a.bottom - kScrollBar, a.right - a.left, 1, kShadow);
    double x = a.left + 60;
    for (const auto& sheet : book.sheets) {
        const bool current = sheet == active;
        TextStyle s = small();
        s.bold = current;
        const double w = textWidth(sheet->name, 11) * (current ? 1.15 : 1) + 16;
        if (x + w > a.right - 200) break;
        svg.rect(x, a.bottom - kScrollBar, w, kScrollBar - 1, current ? kWindow : kFace);
        svg.frame(x, a.bottom - kScrollBar - 1, w, kScrollBar, kDarkShadow);
        svg.text(x + 8, a.bottom - 4, sheet->name, s);
        x += w - 1;
    }
    // The navigation buttons before the tabs and the scroll bar after them.
    for (int i = 0; i < 4; ++i) {
        svg.rect(a.left + 2 + i * 14, a.bottom - kScrollBar + 1, 14, kScrollBar - 2, kFace);
        svg.raised(a.left + 2 + i * 14, a.bottom - kScrollBar + 1, 14, kScrollBar - 2, true);
    }
    const double sx = a.right - 190;
    svg.rect(sx, a.bottom - kScrollBar + 1, 190 - kScrollBar, kScrollBar - 2, "#ECEAE6");
    svg.rect(sx + 16, a.bottom - kScrollBar + 1, 40, kScrollBar - 2, kFace);
    svg.raised(sx + 16, a.bottom - kScrollBar + 1, 40, kScrollBar - 2, true);
}

void verticalScrollBar(Svg& svg, const Area& a) {
    const double x = a.right - kScrollBar;
    svg.rect(x, a.top, kScrollBar, a.bottom - a.top, "#ECEAE6");
    svg.rect(x, a.top, kScrollBar, kScrollBar, kFace);
    svg.raised(x, a.top, kScrollBar, kScrollBar, true);
    svg.rect(x, a.bottom - kScrollBar, kScrollBar, kScrollBar, kFace);
    svg.raised(x, a.bottom - kScrollBar, kScrollBar, kScrollBar, true);
    svg.rect(x, a.top + kScrollBar, kScrollBar, 40, kFace);
    svg.raised(x, a.top + kScrollBar, kScrollBar, 40, true);
}

void formulaBar(Svg& svg, const Area& a, double y) {
    svg.rect(a.left, y, a.right - a.left, kFormulaBar, kFace);
    svg.rect(a.left + 4, y + 2, 90, kFormulaBar - 4, kWindow);
    svg.sunken(a.left + 4, y + 2, 90, kFormulaBar - 4, true);
    svg.text(a.left + 8, y + 16, "A1", small());
    TextStyle fx = small();
    fx.italic = true;
    fx.family = "'Times New Roman', 'Liberation Serif', serif";
    svg.text(a.left + 108, y + 16, "fx", fx);
    svg.rect(a.left + 124, y + 2, a.right - a.left - 128, kFormulaBar - 4, kWindow);
    svg.sunken(a.left + 124, y + 2, a.right - a.left - 128, kFormulaBar - 4, true);
}

}  // namespace

Picture screenPicture(const sim::SimHost& host) {
    const platform::Rect r = host.mainWindowRect();
    const double width = std::clamp(static_cast<double>(r.right - r.left), 320.0, kPageContentWidth);
    const double height = std::clamp(static_cast<double>(r.bottom - r.top), 240.0, 1200.0);
    Svg svg(width, height);
    svg.rect(0, 0, width, height, kFace);
    svg.raised(0, 0, width, height);
    titleBar(svg, host.caption(), width);

    // The client area, as the host lays its bars out in it; empty rows take no room.
    Area client{kFrame, kFrame + kTitle, width - kFrame, height - kFrame - kStatus};
    const auto at = [&](const BarNodePtr& bar) { return static_cast<double>(host.barPlacement(bar).left - r.left); };
    double top = client.top;
    for (const auto& [row, bars] : dockRows(host, msoBarTop)) {
        svg.rect(client.left, top, client.right - client.left, kDockRow, kFace);
        for (const auto& bar : bars) {
            const double w = bar->type == msoBarTypeMenuBar ? client.right - client.left : host.barPlacement(bar).width;
            drawDockedBar(svg, host, bar, at(bar), top, std::min(w, client.right - at(bar)));
        }
        top += kDockRow;
    }
    if (host.displayFormulaBar()) {
        formulaBar(svg, client, top);
        top += kFormulaBar;
    }
    double bottom = client.bottom;
    for (const auto& [row, bars] : dockRows(host, msoBarBottom)) {
        bottom -= kDockRow;
        svg.rect(client.left, bottom, client.right - client.left, kDockRow, kFace);
        for (const auto& bar : bars) {
            drawDockedBar(svg, host, bar, at(bar), bottom, std::min<double>(host.barPlacement(bar).width, client.right - at(bar)));
        }
    }
    const auto vertical = [&](int32_t position, double& edge, double step) {
        for (const auto& [row, bars] : dockRows(host, position)) {
            const double x = step > 0 ? edge : edge - kDockRow;
            double y = top;
            for (const auto& bar : bars) {
                const double length = std::min<double>(host.barPlacement(bar).width, bottom - y);
                if (length > 0) drawVerticalBar(svg, host, bar, x, y, length);
                y += length;
            }
            edge += step;
        }
    };
    double left = client.left, right = client.right;
    vertical(msoBarLeft, left, kDockRow);
    vertical(msoBarRight, right, -kDockRow);

    const Area sheetArea{left, top, right, bottom};
    auto book = host.activeWorkbook();
    auto sheet = host.activeSheet();
    if (!book || !sheet) {
        svg.rect(left, top, right - left, bottom - top, kWorkspace);
    } else {
        const Area cells{left, top, right - kScrollBar, bottom - kScrollBar};
        if (sheet->chart) svg.rect(left, top, cells.right - left, cells.bottom - top, kWindow);
        else drawSheet(svg, host, *sheet, cells);
        verticalScrollBar(svg, {left, top, right, bottom - kScrollBar});
        sheetTabs(svg, *book, sheet, sheetArea);
    }
    svg.rect(client.left, client.bottom, client.right - client.left, kStatus, kFace);
    svg.sunken(client.left + 2, client.bottom + 2, client.right - client.left - 4, kStatus - 4, true);
    svg.text(client.left + 8, client.bottom + 14, "Ready", small());

    for (const auto& bar : host.bars()) {
        if (bar->position != msoBarFloating || !host.barShown(bar)) continue;
        const auto place = host.barPlacement(bar);
        drawFloatingBar(svg, host, bar, place.left - r.left, place.top - r.top, true);
    }
    return svg.picture("The Excel window: " + host.caption());
}

}  // namespace qm::cli::html
