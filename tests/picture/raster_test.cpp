// The rasterizer's rules: which pixels a fill covers, fill rules, strokes and curves.
#include <gtest/gtest.h>

#include <cmath>

#include "core/picture/raster.h"

namespace qm::picture {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kInk = 0x123456;

int32_t countInk(const Image& img, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) n += img.at(x, y) == kInk;
    }
    return n;
}

Polyline square(double l, double t, double r, double b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

TEST(Raster, FillCoversPixelsWhoseCentresAreInside) {
    Image img = solidImage(6, 5, kWhite);
    // Centres on the left and top edges count, on the right and bottom edges they do not.
    fillPolygons(img, {square(0.5, 0.5, 3.5, 2.5)}, kInk, FillRule::EvenOdd);
    EXPECT_EQ(countInk(img, 0, 0, 6, 5), 6);
    EXPECT_EQ(countInk(img, 0, 0, 3, 2), 6);
    // Outside the image is clipped, not wrapped.
    fillPolygons(img, {square(-10, 3.2, 100, 100)}, kInk, FillRule::NonZero);
    EXPECT_EQ(countInk(img, 0, 3, 6, 5), 12);
}

TEST(Raster, FillRulesDifferOnNestedRings) {
    const Polyline outer = square(0, 0, 10, 10);
    Polyline inner = square(3, 3, 7, 7);
    Image evenOdd = solidImage(10, 10, kWhite);
    fillPolygons(evenOdd, {outer, inner}, kInk, FillRule::EvenOdd);
    EXPECT_EQ(evenOdd.at(5, 5), kWhite);
    EXPECT_EQ(evenOdd.at(1, 1), kInk);

    Image nonZero = solidImage(10, 10, kWhite);
    fillPolygons(nonZero, {outer, inner}, kInk, FillRule::NonZero);
    EXPECT_EQ(nonZero.at(5, 5), kInk);

    std::reverse(inner.begin(), inner.end());  // turning the other way, it is a hole again
    Image hole = solidImage(10, 10, kWhite);
    fillPolygons(hole, {outer, inner}, kInk, FillRule::NonZero);
    EXPECT_EQ(hole.at(5, 5), kWhite);
    EXPECT_EQ(countInk(hole, 0, 0, 10, 10), 100 - 16);
}

TEST(Raster, ThinStrokesHaveNoGapsAndThickOnesTheirWidth) {
    Image img = solidImage(40, 40, kWhite);
    strokePolyline(img, {{2.5, 2.5}, {15.5, 37.5}}, false, 0.3, kInk);  // drawn one pixel wide
    for (int32_t y = 3; y < 37; ++y) {
        const int32_t n = countInk(img, 0, y, 40, y + 1);
        EXPECT_GE(n, 1) << "row " << y;
        EXPECT_LE(n, 2) << "row " << y;
    }
    Image thick = solidImage(40, 40, kWhite);
    strokePolyline(thick, {{5, 20}, {35, 20}}, false, 5, kInk);
    EXPECT_EQ(countInk(thick, 20, 0, 21, 40), 5);
    EXPECT_EQ(thick.at(3, 20), kWhite);  // flat ends
    // A closed line joins its last point to its first.
    Image closed = solidImage(20, 20, kWhite);
    strokePolyline(closed, {{2.5, 2.5}, {17.5, 2.5}, {17.5, 17.5}}, true, 1, kInk);
    EXPECT_EQ(closed.at(10, 10), kInk);
    EXPECT_EQ(closed.at(10, 2), kInk);
    EXPECT_EQ(closed.at(5, 15), kWhite);
}

TEST(Raster, CurvesFlattenWithinTheTolerance) {
    const PointF p0{0, 0}, c1{0, 100}, c2{100, 100}, p3{100, 0};
    Polyline line{p0};
    flattenCubic(p0, c1, c2, p3, 0.2, line);
    ASSERT_GT(line.size(), 8u);
    EXPECT_DOUBLE_EQ(line.back().x, 100);
    EXPECT_DOUBLE_EQ(line.back().y, 0);
    // Every point of the curve lies near some segment of the polyline.
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0, s = 1 - t;
        const PointF p{3 * s * s * t * c1.x + 3 * s * t * t * c2.x + t * t * t * p3.x,
                       3 * s * s * t * c1.y + 3 * s * t * t * c2.y + t * t * t * p3.y};
        double best = 1e9;
        for (size_t k = 0; k + 1 < line.size(); ++k) {
            const PointF a = line[k], b = line[k + 1];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double u = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            best = std::min(best, std::hypot(a.x + u * dx - p.x, a.y + u * dy - p.y));
        }
        EXPECT_LE(best, 0.2) << "t = " << t;
    }
    Polyline straight{p0};
    flattenCubic(p0, {10, 0}, {20, 0}, {30, 0}, 0.2, straight);
    EXPECT_EQ(straight.size(), 2u);
}

TEST(Raster, EllipseFigureIsSymmetricAndFillsItsBox) {
    Image img = solidImage(41, 21, kWhite);
    const std::vector<Polyline> rings = flatten({ellipseFigure(0.2, 0.2, 40.8, 20.8)}, 0.2);
    fillPolygons(img, rings, kInk, FillRule::EvenOdd);
    EXPECT_EQ(img.at(20, 10), kInk);
    EXPECT_EQ(img.at(0, 10), kInk);
    EXPECT_EQ(img.at(40, 10), kInk);
    EXPECT_EQ(img.at(0, 0), kWhite);
    EXPECT_EQ(img.at(40, 20), kWhite);
    for (int32_t y = 0; y < 21; ++y) {
        for (int32_t x = 0; x < 41; ++x) {
            ASSERT_EQ(img.at(x, y), img.at(40 - x, y)) << x << "," << y;
            ASSERT_EQ(img.at(x, y), img.at(x, 20 - y)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace qm::picture
