// The simulated host's renderer: drawing objects and cells become one drawing, written
// once as an enhanced metafile and once, rasterized, as a 24-bit bitmap.
#include "sim/render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/host/constants.h"
#include "core/picture/bmp.h"
#include "core/picture/emf.h"

namespace qm::sim {
namespace {

namespace emf = picture::emf;
using picture::Figure;
using picture::PointF;
using picture::Segment;

constexpr uint32_t kGridlineColor = 0xC0C0C0;
constexpr uint32_t kTextColor = 0x000000;
constexpr uint32_t kBackground = 0xFFFFFF;
// The metafile's text: the standard 10-point font (13 pixels), lines 16 pixels apart,
// characters given 7 pixels each.
constexpr const char* kFontFace = "Arial";
constexpr int32_t kFontHeight = 13;
constexpr int32_t kTextLineHeight = 16;
constexpr int32_t kTextAdvance = 7;
// A text frame's default inner margins, in points.
constexpr double kTextInsetX = 7.2;
constexpr double kTextInsetY = 3.6;
// AutoShape types up to this one have their own outline (autoShapeFigure).
constexpr int32_t kLastDrawnAutoShape = 12;
// Nodes closer than this (points) are the same point.
constexpr double kSamePoint = 0.01;

// ---------------------------------------------------------------- geometry

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    PointF operator()(PointF p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // This transform after `first`.
    Affine after(const Affine& first) const {
        return {a * first.a + c * first.b, b * first.a + d * first.b, a * first.c + c * first.d,
                b * first.c + d * first.d, a * first.e + c * first.f + e, b * first.e + d * first.f + f};
    }
    bool keepsAxes() const {
        constexpr double eps = 1e-9;
        return std::fabs(a - 1) < eps && std::fabs(d - 1) < eps && std::fabs(b) < eps && std::fabs(c) < eps;
    }
};

// Clockwise by `degrees` on the sheet (y grows downwards) about (cx, cy).
Affine rotationAbout(double degrees, double cx, double cy) {
    const double r = degrees * std::numbers::pi / 180.0;
    const double cs = std::cos(r);
    const double sn = std::sin(r);
    return {cs, sn, -sn, cs, cx - cs * cx + sn * cy, cy - sn * cx - cs * cy};
}

Affine ownRotation(const DrawingObject& o) {
    return rotationAbout(o.rotation, o.left + o.width / 2.0, o.top + o.height / 2.0);
}

Figure transformed(Figure f, const Affine& t) {
    f.start = t(f.start);
    for (Segment& s : f.segments) {
        s.c1 = t(s.c1);
        s.c2 = t(s.c2);
        s.to = t(s.to);
    }
    return f;
}

Segment lineTo(double x, double y) { return {false, {}, {}, {x, y}}; }

Figure polygon(std::initializer_list<PointF> points) {
    Figure f;
    f.start = *points.begin();
    for (auto it = points.begin() + 1; it != points.end(); ++it) f.segments.push_back(lineTo(it->x, it->y));
    f.closed = true;
    return f;
}

// A rectangle with quarter-ellipse corners of radius r.
Figure roundedRectangle(double l, double t, double r_, double b, double r) {
    const double k = r * (1 - 0.5522847498307936);
    Figure f;
    f.start = {l + r, t};
    f.segments = {
        lineTo(r_ - r, t),
        {true, {r_ - k, t}, {r_, t + k}, {r_, t + r}},
        lineTo(r_, b - r),
        {true, {r_, b - k}, {r_ - k, b}, {r_ - r, b}},
        lineTo(l + r, b),
        {true, {l + k, b}, {l, b - k}, {l, b - r}},
        lineTo(l, t + r),
        {true, {l, t + k}, {l + k, t}, {l + r, t}},
    };
    f.closed = true;
    return f;
}

Figure autoShapeFigure(int32_t type, double l, double t, double w, double h) {
    const double r = l + w;
    const double b = t + h;
    const double cx = l + w / 2;
    const double cy = t + h / 2;
    const double m = std::min(w, h);
    switch (type) {
        case host::msoShapeOval: return picture::ellipseFigure(l, t, r, b);
        case 2: return polygon({{l + w / 4, t}, {r, t}, {r - w / 4, b}, {l, b}});           // parallelogram
        case 3: return polygon({{l + w / 4, t}, {r - w / 4, t}, {r, b}, {l, b}});           // trapezoid
        case 4: return polygon({{cx, t}, {r, cy}, {cx, b}, {l, cy}});                       // diamond
        case 5: return roundedRectangle(l, t, r, b, m / 6);                                  // rounded rectangle
        case 6: {                                                                            // octagon
            const double k = m * 0.29;
            return polygon({{l + k, t}, {r - k, t}, {r, t + k}, {r, b - k}, {r - k, b}, {l + k, b}, {l, b - k}, {l, t + k}});
        }
        case 7: return polygon({{cx, t}, {r, b}, {l, b}});                                  // isosceles triangle
        case 8: return polygon({{l, t}, {r, b}, {l, b}});                                   // right triangle
        case 10: return polygon({{l + w / 4, t}, {r - w / 4, t}, {r, cy}, {r - w / 4, b}, {l + w / 4, b}, {l, cy}});  // hexagon
        case 11: {                                                                           // cross
            const double k = m / 4;
            return polygon({{l + k, t}, {r - k, t}, {r - k, t + k}, {r, t + k}, {r, b - k}, {r - k, b - k}, {r - k, b},
                            {l + k, b}, {l + k, b - k}, {l, b - k}, {l, t + k}, {l + k, t + k}});
        }
        case 12: return polygon({{cx, t}, {r, t + h * 0.38}, {l + w * 0.81, b}, {l + w * 0.19, b}, {l, t + h * 0.38}});  // pentagon
        default: return picture::rectangleFigure(l, t, r, b);
    }
}

}  // namespace

int32_t columnPixels(double widthInCharacters) {
    if (!(widthInCharacters > 0)) return 0;
    if (widthInCharacters < 1) return static_cast<int32_t>(std::lround(widthInCharacters * 12));
    return static_cast<int32_t>(std::lround(std::min(widthInCharacters, 255.0) * 7 + 5));
}

int32_t rowPixels(double heightInPoints) {
    if (!(heightInPoints > 0)) return 0;
    return static_cast<int32_t>(std::lround(std::min(heightInPoints, 409.5) * picture::kPixelsPerPoint));
}

Figure freeformFigure(const std::vector<PathNode>& nodes) {
    Figure f;
    if (nodes.empty()) return f;
    f.start = {nodes[0].x, nodes[0].y};
    size_t i = 1;
    while (i < nodes.size()) {
        const bool curve = i + 2 < nodes.size() && nodes[i].segmentType == host::msoSegmentCurve &&
                           nodes[i + 1].segmentType == host::msoSegmentCurve &&
                           nodes[i + 2].segmentType == host::msoSegmentCurve;
        if (curve) {
            f.segments.push_back({true, {nodes[i].x, nodes[i].y}, {nodes[i + 1].x, nodes[i + 1].y}, {nodes[i + 2].x, nodes[i + 2].y}});
            i += 3;
        } else {
            f.segments.push_back(lineTo(nodes[i].x, nodes[i].y));
            ++i;
        }
    }
    const PathNode& first = nodes.front();
    const PathNode& last = nodes.back();
    f.closed = nodes.size() > 2 && std::fabs(first.x - last.x) < kSamePoint && std::fabs(first.y - last.y) < kSamePoint;
    if (f.closed) f.segments.back().to = f.start;
    return f;
}

Figure outlineOf(const DrawingObject& o) {
    const double l = o.left, t = o.top, w = o.width, h = o.height;
    switch (o.kind) {
        case ShapeKind::AutoShape: return autoShapeFigure(o.autoShapeType, l, t, w, h);
        case ShapeKind::Line: {
            Figure f;
            f.start = {l, t};
            f.segments.push_back(lineTo(l + w, t + h));
            return f;
        }
        case ShapeKind::Freeform: return freeformFigure(o.nodes);
        default: return picture::rectangleFigure(l, t, l + w, t + h);
    }
}

// ---------------------------------------------------------------- drawing objects

namespace {

struct Bounds {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;

    void add(PointF p, double grow) {
        if (empty) {
            left = right = p.x;
            top = bottom = p.y;
            empty = false;
        }
        left = std::min(left, p.x - grow);
        top = std::min(top, p.y - grow);
        right = std::max(right, p.x + grow);
        bottom = std::max(bottom, p.y + grow);
    }
};

// Objects whose outline is their frame or the oval inside it, which the metafile can
// draw as one record while they are not turned.
Primitive primitiveOf(const DrawingObject& o) {
    switch (o.kind) {
        case ShapeKind::Line:
        case ShapeKind::Freeform:
        case ShapeKind::Group: return Primitive::Path;
        case ShapeKind::AutoShape:
            if (o.autoShapeType == host::msoShapeOval) return Primitive::Ellipse;
            return o.autoShapeType > host::msoShapeRectangle && o.autoShapeType <= kLastDrawnAutoShape ? Primitive::Path
                                                                                                     : Primitive::Rectangle;
        default: return Primitive::Rectangle;
    }
}

struct Collector {
    ShapeDrawing drawing;
    Bounds bounds;

    void add(const DrawingObject& o, const Affine& parents) {
        if (!o.visible) return;
        const Affine t = parents.after(ownRotation(o));
        if (o.kind == ShapeKind::Group) {
            for (const auto& m : o.members) {
                if (m) add(*m, t);
            }
            return;
        }
        picture::ShapeStyle style;
        style.lineWidth = kLineWidthPoints;
        Figure figure = outlineOf(o);
        if (o.fill && figure.closed) style.fill = static_cast<uint32_t>(o.fillColor) & 0xFFFFFF;
        if (o.line) style.line = static_cast<uint32_t>(o.lineColor) & 0xFFFFFF;

        const double grow = style.line ? kLineWidthPoints / 2 : 0;
        for (PointF corner : {PointF{o.left, o.top}, PointF{o.left + o.width, o.top},
                              PointF{o.left + o.width, o.top + o.height}, PointF{o.left, o.top + o.height}}) {
            bounds.add(t(corner), grow);
        }

        ShapePrimitive primitive;
        const Primitive kind = primitiveOf(o);
        if (kind != Primitive::Path && t.keepsAxes()) {
            primitive.kind = kind;
            primitive.left = o.left + t.e;
            primitive.top = o.top + t.f;
            primitive.right = primitive.left + o.width;
            primitive.bottom = primitive.top + o.height;
        }
        drawing.scene.shapes.push_back({{transformed(std::move(figure), t)}, style});
        drawing.primitives.push_back(primitive);

        if (!o.text.empty()) addText(o, t, drawing.scene.shapes.size() - 1);
    }

    void addText(const DrawingObject& o, const Affine& t, size_t shape) {
        // Lines end at CR, LF or CR LF.
        std::vector<std::string> lines{""};
        for (size_t i = 0; i < o.text.size(); ++i) {
            const char ch = o.text[i];
            if (ch == '\r' || ch == '\n') {
                if (ch == '\r' && i + 1 < o.text.size() && o.text[i + 1] == '\n') ++i;
                lines.emplace_back();
            } else {
                lines.back().push_back(ch);
            }
        }
        const double lineHeight = kTextLineHeight / picture::kPixelsPerPoint;
        const double textHeight = lineHeight * static_cast<double>(lines.size());
        double y = o.top + kTextInsetY;
        if (o.verticalAlignment == host::xlCenter) y = o.top + (o.height - textHeight) / 2;
        if (o.verticalAlignment == host::xlBottom) y = o.top + o.height - kTextInsetY - textHeight;
        const double angle = std::atan2(t.b, t.a) * 180.0 / std::numbers::pi;
        for (const std::string& line : lines) {
            if (!line.empty()) drawing.text.push_back({shape, t({o.left + kTextInsetX, y}), line, angle});
            y += lineHeight;
        }
    }
};

// GDI's integer coordinate of a position in the scene's pixels: GDI centres pixel i on i,
// the rasterizer on i + 0.5; halves round up, as the rasterizer's edges include them.
int32_t gdi(double pixels) { return static_cast<int32_t>(std::floor(pixels)); }

emf::Point gdiPoint(const picture::Scene& scene, PointF p) {
    const PointF q = picture::toPixels(scene, p);
    return {gdi(q.x), gdi(q.y)};
}

// A figure without curves as a polygon or polyline; one with curves as a path.
void drawFigure(emf::Writer& out, const picture::Scene& scene, const Figure& f) {
    const bool curved = std::any_of(f.segments.begin(), f.segments.end(), [](const Segment& s) { return s.curve; });
    if (!curved) {
        std::vector<emf::Point> points{gdiPoint(scene, f.start)};
        for (const Segment& s : f.segments) points.push_back(gdiPoint(scene, s.to));
        if (f.closed) {
            if (points.size() > 1 && points.back() == points.front()) points.pop_back();
            out.polygon(points);
        } else {
            out.polyline(points);
        }
        return;
    }
    out.beginPath();
    out.moveTo(gdiPoint(scene, f.start));
    // Runs of line segments and runs of curves, one record each.
    size_t k = 0;
    while (k < f.segments.size()) {
        std::vector<emf::Point> run;
        const bool curve = f.segments[k].curve;
        for (; k < f.segments.size() && f.segments[k].curve == curve; ++k) {
            const Segment& s = f.segments[k];
            if (curve) {
                run.push_back(gdiPoint(scene, s.c1));
                run.push_back(gdiPoint(scene, s.c2));
            }
            run.push_back(gdiPoint(scene, s.to));
        }
        if (curve) {
            out.bezierTo(run);
        } else {
            out.lineTo(run);
        }
    }
    if (f.closed) out.closeFigure();
    out.endPath();
    if (f.closed) {
        out.strokeAndFillPath();
    } else {
        out.strokePath();
    }
}

void drawShape(emf::Writer& out, const picture::Scene& scene, const picture::DrawnShape& shape,
               const ShapePrimitive& primitive) {
    if (!shape.style.fill && !shape.style.line) return;
    const emf::Handle pen =
        shape.style.line
            ? out.createPen(*shape.style.line,
                            std::max(1, static_cast<int32_t>(std::lround(shape.style.lineWidth * picture::kPixelsPerPoint))))
            : out.createNullPen();
    const emf::Handle brush = shape.style.fill ? out.createBrush(*shape.style.fill) : out.createNullBrush();
    out.select(pen);
    out.select(brush);
    if (primitive.kind != Primitive::Path) {
        // GDI draws a pen's line on the box's outermost pixels and, without a pen, fills
        // one pixel less; the right and bottom coordinates lie just outside. The box is
        // chosen so that the pixels painted are the bitmap's.
        const PointF a = picture::toPixels(scene, {primitive.left, primitive.top});
        const PointF z = picture::toPixels(scene, {primitive.right, primitive.bottom});
        const double shift = shape.style.line ? 1.0 : 0.5;
        auto edge = [&](double v) { return static_cast<int32_t>(std::ceil(v - shift)); };
        const emf::Rect r{edge(a.x), edge(a.y), edge(z.x) + 1, edge(z.y) + 1};
        if (primitive.kind == Primitive::Rectangle) {
            out.rectangle(r);
        } else {
            out.ellipse(r);
        }
    } else {
        for (const Figure& f : shape.outline) drawFigure(out, scene, f);
    }
    out.select(emf::stock::kBlackPen);
    out.select(emf::stock::kWhiteBrush);
    out.deleteObject(brush);
    out.deleteObject(pen);
}

}  // namespace

std::optional<ShapeDrawing> drawShapes(const std::vector<DrawingObjectPtr>& objects) {
    // Back to front as they lie on the sheet; objects not on its drawing layer (group
    // members) keep their order after them.
    std::vector<std::pair<size_t, const DrawingObject*>> order;
    for (size_t i = 0; i < objects.size(); ++i) {
        const auto& o = objects[i];
        if (!o) continue;
        size_t key = objects.size() + i;
        if (const auto sheet = o->sheet.lock()) {
            const auto it = std::find(sheet->shapes.begin(), sheet->shapes.end(), o);
            if (it != sheet->shapes.end()) key = static_cast<size_t>(it - sheet->shapes.begin());
        }
        order.emplace_back(key, o.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& l, const auto& r) { return l.first < r.first; });

    Collector c;
    for (const auto& [key, o] : order) c.add(*o, Affine{});
    if (c.bounds.empty) return std::nullopt;

    picture::Scene& scene = c.drawing.scene;
    scene.originX = c.bounds.left;
    scene.originY = c.bounds.top;
    const double w = std::round((c.bounds.right - c.bounds.left) * picture::kPixelsPerPoint);
    const double h = std::round((c.bounds.bottom - c.bounds.top) * picture::kPixelsPerPoint);
    if (!(w <= kMaxPictureSide && h <= kMaxPictureSide && w * h <= static_cast<double>(kMaxPicturePixels))) {
        return std::nullopt;
    }
    scene.width = std::max(1, static_cast<int32_t>(w));
    scene.height = std::max(1, static_cast<int32_t>(h));
    scene.background = kBackground;
    return std::move(c.drawing);
}

std::vector<uint8_t> toEmf(const ShapeDrawing& drawing) {
    const picture::Scene& scene = drawing.scene;
    emf::Writer out(scene.width, scene.height);
    out.setPolyFillMode(true);  // self-crossing freeforms fill even-odd, as the bitmap does
    if (!drawing.text.empty()) {
        out.setBkModeTransparent();
        out.setTextAlignTopLeft();
        out.setTextColor(kTextColor);
    }
    // The font of the text drawn last, by its angle; GDI turns text counter-clockwise.
    std::optional<std::pair<int32_t, emf::Handle>> font;
    auto text = drawing.text.begin();
    for (size_t i = 0; i < scene.shapes.size(); ++i) {
        drawShape(out, scene, scene.shapes[i], drawing.primitives[i]);
        for (; text != drawing.text.end() && text->shape == i; ++text) {
            const auto escapement = static_cast<int32_t>(((std::lround(-text->angle * 10) % 3600) + 3600) % 3600);
            if (!font || font->first != escapement) {
                const emf::Handle h = out.createFont(kFontHeight, escapement, kFontFace);
                out.select(h);
                if (font) out.deleteObject(font->second);
                font = std::pair{escapement, h};
            }
            out.textOut(gdiPoint(scene, text->at), text->text, kTextAdvance);
        }
    }
    if (font) {
        out.select(emf::stock::kSystemFont);
        out.deleteObject(font->second);
    }
    return out.finish();
}

// ---------------------------------------------------------------- cells

namespace {

struct CellLayout {
    std::vector<int32_t> columnStart;  // one more than there are columns: the right edge
    std::vector<int32_t> rowStart;
};

std::optional<CellLayout> layoutCells(const SheetNode& sheet, const CellArea& area) {
    if (area.all) return std::nullopt;
    const int64_t columns = int64_t{area.last.column} - area.first.column + 1;
    const int64_t rows = int64_t{area.last.row} - area.first.row + 1;
    if (columns < 1 || rows < 1 || columns > kMaxPictureSide || rows > kMaxPictureSide) return std::nullopt;
    CellLayout layout;
    int64_t x = 0;
    for (int32_t c = area.first.column; c <= area.last.column; ++c) {
        layout.columnStart.push_back(static_cast<int32_t>(std::min<int64_t>(x, kMaxPictureSide + 1)));
        const auto it = sheet.columnWidths.find(c);
        x += columnPixels(it == sheet.columnWidths.end() ? sheet.columnWidth : it->second);
        if (x > kMaxPictureSide) return std::nullopt;
    }
    layout.columnStart.push_back(static_cast<int32_t>(x));
    int64_t y = 0;
    for (int32_t r = area.first.row; r <= area.last.row; ++r) {
        layout.rowStart.push_back(static_cast<int32_t>(y));
        const auto it = sheet.rowHeights.find(r);
        y += rowPixels(it == sheet.rowHeights.end() ? sheet.rowHeight : it->second);
        if (y > kMaxPictureSide) return std::nullopt;
    }
    layout.rowStart.push_back(static_cast<int32_t>(y));
    if (x < 1 || y < 1 || x * y > kMaxPicturePixels) return std::nullopt;
    return layout;
}

// Gridlines: every cell's last pixel column and row, and the area's first ones.
std::vector<int32_t> gridPositions(const std::vector<int32_t>& starts) {
    std::vector<int32_t> out{0};
    for (size_t i = 1; i < starts.size(); ++i) {
        if (starts[i] > starts[i - 1]) out.push_back(starts[i] - 1);
    }
    return out;
}

std::vector<platform::Picture> renderCells(const SheetNode& sheet, const CellArea& area) {
    const auto layout = layoutCells(sheet, area);
    if (!layout) return {};
    const int32_t width = layout->columnStart.back();
    const int32_t height = layout->rowStart.back();
    const std::vector<int32_t> xs = gridPositions(layout->columnStart);
    const std::vector<int32_t> ys = gridPositions(layout->rowStart);

    picture::Image image = picture::solidImage(width, height, kBackground);
    emf::Writer out(width, height);
    if (sheet.gridlines) {
        for (int32_t x : xs) picture::fillRect(image, x, 0, x + 1, height, kGridlineColor);
        for (int32_t y : ys) picture::fillRect(image, 0, y, width, y + 1, kGridlineColor);
        const emf::Handle pen = out.createPen(kGridlineColor, 1);
        out.select(pen);
        for (int32_t x : xs) out.polyline({{x, 0}, {x, height - 1}});
        for (int32_t y : ys) out.polyline({{0, y}, {width - 1, y}});
        out.select(emf::stock::kBlackPen);
        out.deleteObject(pen);
    }

    std::optional<emf::Handle> font;
    for (const auto& [ref, value] : sheet.cellText) {
        if (value.empty() || ref.row < area.first.row || ref.row > area.last.row || ref.column < area.first.column ||
            ref.column > area.last.column) {
            continue;
        }
        const auto col = static_cast<size_t>(ref.column - area.first.column);
        const auto row = static_cast<size_t>(ref.row - area.first.row);
        const int32_t left = layout->columnStart[col];
        const int32_t top = layout->rowStart[row];
        const int32_t bottom = layout->rowStart[row + 1];
        if (layout->columnStart[col + 1] == left || bottom == top) continue;  // hidden column or row
        const auto align = sheet.cellAlignment.find(ref);
        const int32_t vertical = align == sheet.cellAlignment.end() ? sheet.verticalAlignment : align->second;
        int32_t y = bottom - 1 - kTextLineHeight;  // bottom, the default
        if (vertical == host::xlTop || vertical == host::xlJustify) y = top + 1;
        if (vertical == host::xlCenter) y = top + (bottom - top - kTextLineHeight) / 2;
        if (!font) {
            out.setBkModeTransparent();
            out.setTextAlignTopLeft();
            out.setTextColor(kTextColor);
            font = out.createFont(kFontHeight, 0, kFontFace);
            out.select(*font);
        }
        out.textOut({left + 2, y}, value, kTextAdvance);
    }
    if (font) {
        out.select(emf::stock::kSystemFont);
        out.deleteObject(*font);
    }
    return {{platform::cf::kEnhMetafile, out.finish()}, {platform::cf::kBitmap, picture::encodeBmp(image)}};
}

}  // namespace

std::vector<platform::Picture> renderPictures(const RenderRequest& request) {
    if (request.shapes.empty()) {
        if (!request.cells || !request.sheet) return {};
        return renderCells(*request.sheet, *request.cells);
    }
    const auto drawing = drawShapes(request.shapes);
    if (!drawing) return {};
    return {{platform::cf::kEnhMetafile, toEmf(*drawing)},
            {platform::cf::kBitmap, picture::encodeBmp(picture::rasterize(drawing->scene))}};
}

}  // namespace qm::sim
