// The rasterizer: scanline polygon filling sampled at pixel centres, strokes built from
// one quadrilateral per segment and a disc per joint, curves flattened first.
#include "core/picture/raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qm::picture {
namespace {

// The four-Bézier ellipse's control distance, as a fraction of the radius.
constexpr double kKappa = 0.5522847498307936;
// Curves become polylines no further than this from the curve, in pixels.
constexpr double kFlatness = 0.2;

struct Edge {
    double yTop;
    double yBottom;
    double xAtTop;
    double slope;  // dx / dy
    int dir;       // +1 downwards, -1 upwards
};

double signedArea(const Polyline& ring) {
    double a = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const PointF& p = ring[i];
        const PointF& q = ring[(i + 1) % ring.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

// Rings of a stroke all turn the same way, so that the non-zero rule paints their union.
void addPositive(std::vector<Polyline>& rings, Polyline ring) {
    if (signedArea(ring) < 0) std::reverse(ring.begin(), ring.end());
    rings.push_back(std::move(ring));
}

Polyline disc(PointF c, double r) {
    const int n = std::clamp(static_cast<int>(std::ceil(2 * std::numbers::pi * r)), 8, 96);
    Polyline ring;
    ring.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        ring.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return ring;
}

// The first pixel index whose centre is at or right of `x`.
int64_t firstCentreAtOrAfter(double x) { return static_cast<int64_t>(std::ceil(x - 0.5)); }

}  // namespace

Figure rectangleFigure(double left, double top, double right, double bottom) {
    Figure f;
    f.start = {left, top};
    f.segments = {{false, {}, {}, {right, top}}, {false, {}, {}, {right, bottom}}, {false, {}, {}, {left, bottom}}};
    f.closed = true;
    return f;
}

Figure ellipseFigure(double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double kx = (right - left) / 2 * kKappa;
    const double ky = (bottom - top) / 2 * kKappa;
    Figure f;
    f.start = {right, cy};
    f.segments = {
        {true, {right, cy + ky}, {cx + kx, bottom}, {cx, bottom}},
        {true, {cx - kx, bottom}, {left, cy + ky}, {left, cy}},
        {true, {left, cy - ky}, {cx - kx, top}, {cx, top}},
        {true, {cx + kx, top}, {right, cy - ky}, {right, cy}},
    };
    f.closed = true;
    return f;
}

void flattenCubic(PointF p0, PointF c1, PointF c2, PointF p3, double tolerance, Polyline& out) {
    // Uniform steps: the chord's distance from the curve is at most M / (8 n^2), M the
    // largest second derivative, 6 times the larger second difference of the controls.
    const double d1 = std::hypot(p0.x - 2 * c1.x + c2.x, p0.y - 2 * c1.y + c2.y);
    const double d2 = std::hypot(c1.x - 2 * c2.x + p3.x, c1.y - 2 * c2.y + p3.y);
    const double m = 6 * std::max(d1, d2);
    const double steps = std::ceil(std::sqrt(m / (8 * std::max(tolerance, 1e-3))));
    const int n = std::clamp(std::isfinite(steps) ? static_cast<int>(steps) : 1, 1, 1000);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        out.push_back({a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y});
    }
}

std::vector<Polyline> flatten(const Path& path, double tolerance) {
    std::vector<Polyline> out;
    for (const Figure& f : path) {
        Polyline line{f.start};
        for (const Segment& s : f.segments) {
            if (s.curve) {
                flattenCubic(line.back(), s.c1, s.c2, s.to, tolerance, line);
            } else {
                line.push_back(s.to);
            }
        }
        if (f.closed && line.size() > 1 && line.back().x == line.front().x && line.back().y == line.front().y) {
            line.pop_back();
        }
        out.push_back(std::move(line));
    }
    return out;
}

void fillRect(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, image.width);
    y1 = std::min(y1, image.height);
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) image.at(x, y) = color & 0xFFFFFF;
    }
}

void fillPolygons(Image& image, const std::vector<Polyline>& rings, uint32_t color, FillRule rule) {
    std::vector<Edge> edges;
    for (const Polyline& ring : rings) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const PointF& a = ring[i];
            const PointF& b = ring[(i + 1) % ring.size()];
            if (a.y == b.y || !std::isfinite(a.x + a.y + b.x + b.y)) continue;
            const bool down = a.y < b.y;
            const PointF& top = down ? a : b;
            const PointF& bottom = down ? b : a;
            edges.push_back({top.y, bottom.y, top.x, (bottom.x - top.x) / (bottom.y - top.y), down ? 1 : -1});
        }
    }
    if (edges.empty() || image.width <= 0 || image.height <= 0) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });

    // Rows are sampled at their centres, y + 0.5; an edge covers yTop <= y < yBottom.
    const int64_t firstRow = std::max<int64_t>(0, firstCentreAtOrAfter(edges.front().yTop));
    size_t next = 0;
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> crossings;
    const uint32_t c = color & 0xFFFFFF;
    for (int64_t row = firstRow; row < image.height; ++row) {
        const double y = static_cast<double>(row) + 0.5;
        while (next < edges.size() && edges[next].yTop <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [&](const Edge* e) { return e->yBottom <= y; });
        if (active.empty()) {
            if (next == edges.size()) break;
            continue;
        }
        crossings.clear();
        for (const Edge* e : active) crossings.emplace_back(e->xAtTop + (y - e->yTop) * e->slope, e->dir);
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += crossings[k].second;
            const bool inside = rule == FillRule::EvenOdd ? (k % 2 == 0) : winding != 0;
            if (!inside) continue;
            const int64_t x0 = std::max<int64_t>(0, firstCentreAtOrAfter(crossings[k].first));
            const int64_t x1 = std::min<int64_t>(image.width, firstCentreAtOrAfter(crossings[k + 1].first));
            for (int64_t x = x0; x < x1; ++x) image.at(static_cast<int32_t>(x), static_cast<int32_t>(row)) = c;
        }
    }
}

void strokePolyline(Image& image, const Polyline& points, bool closed, double width, uint32_t color) {
    if (points.empty()) return;
    const double h = std::max(width, 1.0) / 2;
    std::vector<Polyline> rings;
    const size_t n = points.size();
    const size_t segments = closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) {
        const PointF& a = points[i];
        const PointF& b = points[(i + 1) % n];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0 || !std::isfinite(len)) continue;
        const double nx = -(b.y - a.y) / len * h;
        const double ny = (b.x - a.x) / len * h;
        addPositive(rings, {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
    }
    // Joints (every point of a closed line; inner points of an open one) are rounded; a
    // line of a single point still shows as a dot.
    for (size_t i = 0; i < n; ++i) {
        const bool joint = closed || (i > 0 && i + 1 < n) || n == 1;
        if (joint) addPositive(rings, disc(points[i], h));
    }
    fillPolygons(image, rings, color, FillRule::NonZero);
}

PointF toPixels(const Scene& scene, PointF p) {
    return {(p.x - scene.originX) * kPixelsPerPoint, (p.y - scene.originY) * kPixelsPerPoint};
}

Image rasterize(const Scene& scene) {
    Image image = solidImage(scene.width, scene.height, scene.background);
    for (const DrawnShape& shape : scene.shapes) {
        Path path = shape.outline;
        for (Figure& f : path) {
            f.start = toPixels(scene, f.start);
            for (Segment& s : f.segments) {
                s.c1 = toPixels(scene, s.c1);
                s.c2 = toPixels(scene, s.c2);
                s.to = toPixels(scene, s.to);
            }
        }
        const std::vector<Polyline> lines = flatten(path, kFlatness);
        if (shape.style.fill) {
            std::vector<Polyline> rings;
            for (size_t i = 0; i < path.size(); ++i) {
                if (path[i].closed && lines[i].size() >= 3) rings.push_back(lines[i]);
            }
            fillPolygons(image, rings, *shape.style.fill, FillRule::EvenOdd);
        }
        if (shape.style.line) {
            for (size_t i = 0; i < path.size(); ++i) {
                strokePolyline(image, lines[i], path[i].closed, shape.style.lineWidth * kPixelsPerPoint, *shape.style.line);
            }
        }
    }
    return image;
}

}  // namespace qm::picture
