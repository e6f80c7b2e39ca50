// A small software rasterizer: filled polygons, thick polylines, ellipses and cubic Béziers
// painted into an Image without anti-aliasing, and a list of shapes in points drawn at
// 96 dpi. A pixel (x, y) is the unit square from (x, y) to (x + 1, y + 1) and is painted
// when its centre lies inside what is drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture/bmp.h"

namespace qm::picture {

struct PointF {
    double x = 0;
    double y = 0;
};

// A figure: a start point, then line segments (one point) and cubic Bézier segments (two
// control points and the end point). A closed figure returns to its start.
struct Segment {
    bool curve = false;
    PointF c1;  // curves only
    PointF c2;  // curves only
    PointF to;
};

struct Figure {
    PointF start;
    std::vector<Segment> segments;
    bool closed = false;
};

using Path = std::vector<Figure>;
using Polyline = std::vector<PointF>;

enum class FillRule { EvenOdd, NonZero };

// Figures of an axis-aligned rectangle and an ellipse (four Béziers) inside a box.
Figure rectangleFigure(double left, double top, double right, double bottom);
Figure ellipseFigure(double left, double top, double right, double bottom);

// Appends the points of a cubic Bézier after p0 (p0 itself excluded), close enough that no
// point of the curve is further than `tolerance` from the polyline.
void flattenCubic(PointF p0, PointF c1, PointF c2, PointF p3, double tolerance, Polyline& out);
// Each figure as a polyline; a closed figure's last point is not repeated.
std::vector<Polyline> flatten(const Path& path, double tolerance);

// Fills the area inside the rings (each implicitly closed).
void fillPolygons(Image& image, const std::vector<Polyline>& rings, uint32_t color, FillRule rule);
// Paints a line of `width` pixels centred on the polyline, with round joins and flat ends;
// never thinner than one pixel.
void strokePolyline(Image& image, const Polyline& points, bool closed, double width, uint32_t color);
// Fills pixels x0 <= x < x1, y0 <= y < y1, clipped to the image.
void fillRect(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color);

// ---------------------------------------------------------------- shapes in points

inline constexpr double kPixelsPerPoint = 96.0 / 72.0;

// One shape to draw: its outline in points, its fill (closed figures only) and its line.
struct ShapeStyle {
    std::optional<uint32_t> fill;  // 0x00BBGGRR, nothing: not filled
    std::optional<uint32_t> line;  // nothing: no line
    double lineWidth = 0.75;       // points
};

struct DrawnShape {
    Path outline;  // points
    ShapeStyle style;
};

// A picture whose top-left pixel corner lies at (originX, originY) points, drawn back to
// front on a background colour.
struct Scene {
    double originX = 0;
    double originY = 0;
    int32_t width = 0;  // pixels
    int32_t height = 0;
    uint32_t background = 0xFFFFFF;
    std::vector<DrawnShape> shapes;
};

// A point in points as a position in the scene's pixels.
PointF toPixels(const Scene& scene, PointF p);

Image rasterize(const Scene& scene);

}  // namespace qm::picture
