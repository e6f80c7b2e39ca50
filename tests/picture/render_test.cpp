// The simulated host's pictures of drawing objects and cells: geometry, colours, what is
// left out, the order of drawing, and the metafile agreeing with the bitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/picture/emf.h"
#include "tests/picture/sheet.h"

namespace qm::sim::testing {
namespace {

namespace emf = picture::emf;

constexpr double kPx = 96.0 / 72.0;

// Where a sheet point lands in a picture whose frame's top-left corner is at (left, top).
struct Mapper {
    double left, top;
    std::pair<int32_t, int32_t> operator()(double x, double y) const {
        return {static_cast<int32_t>(std::floor((x - left) * kPx)), static_cast<int32_t>(std::floor((y - top) * kPx))};
    }
};

// The corners of a box turned clockwise about its centre.
std::vector<picture::PointF> turnedCorners(double l, double t, double w, double h, double degrees) {
    const double a = degrees * std::numbers::pi / 180, cx = l + w / 2, cy = t + h / 2;
    std::vector<picture::PointF> out;
    for (auto [x, y] : {std::pair{l, t}, {l + w, t}, {l + w, t + h}, {l, t + h}}) {
        out.push_back({cx + (x - cx) * std::cos(a) - (y - cy) * std::sin(a), cy + (x - cx) * std::sin(a) + (y - cy) * std::cos(a)});
    }
    return out;
}

int64_t countColor(const picture::Image& img, uint32_t color) {
    return std::count(img.pixels.begin(), img.pixels.end(), color);
}

std::vector<emf::Record> recordsOf(const std::vector<uint8_t>& bytes, uint32_t type) {
    const auto m = emf::read(bytes);
    EXPECT_TRUE(m);
    std::vector<emf::Record> out;
    if (m) std::copy_if(m->records.begin(), m->records.end(), std::back_inserter(out), [&](const auto& r) { return r.type == type; });
    return out;
}

// ---------------------------------------------------------------- drawing objects

TEST(RenderShapes, RectangleIsItsFillInsideItsLine) {
    Sheet s;
    const auto r = s.rectangle(10, 20, 100, 50, kRed);
    const Pictures p = s.render({r});
    // 100 x 50 points are 133.3 x 66.7 pixels; the line, half outside, makes 134 x 68.
    ASSERT_EQ(p.image.width, 134);
    ASSERT_EQ(p.image.height, 68);
    for (int32_t y = 0; y < 68; ++y) {
        for (int32_t x = 0; x < 134; ++x) {
            const bool ring = x == 0 || y == 0 || x == 133 || y == 67;
            ASSERT_EQ(p.image.at(x, y), ring ? kBlack : kRed) << x << "," << y;
        }
    }
    const auto m = emf::read(p.emf);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->header.bounds, (emf::Rect{0, 0, 133, 67}));
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kRectangle).size(), 1u);
    EXPECT_EQ(emf::play(p.emf)->pixels, p.image.pixels);
}

TEST(RenderShapes, HiddenFillOrLineIsNotPaintedAndNoLineDoesNotGrowThePicture) {
    Sheet s;
    const auto r = s.rectangle(0, 0, 100, 50, kRed);
    r->fill = false;
    Pictures p = s.render({r});
    EXPECT_EQ(p.image.at(60, 30), kWhite);
    EXPECT_EQ(p.image.at(0, 30), kBlack);
    EXPECT_EQ(countColor(p.image, kRed), 0);

    r->fill = true;
    r->line = false;
    p = s.render({r});
    EXPECT_EQ(p.image.width, 133);
    EXPECT_EQ(p.image.height, 67);
    EXPECT_EQ(countColor(p.image, kRed), 133 * 67);
    EXPECT_EQ(emf::play(p.emf)->pixels, p.image.pixels);
}

TEST(RenderShapes, RotatedRectangleTurnsClockwiseAboutItsCentre) {
    Sheet s;
    const auto r = s.rectangle(50, 50, 100, 50, kRed, 30);
    const Pictures p = s.render({r});
    const auto corners = turnedCorners(50, 50, 100, 50, 30);
    double l = 1e9, t = 1e9, rr = -1e9, b = -1e9;
    for (auto c : corners) {
        l = std::min(l, c.x), t = std::min(t, c.y), rr = std::max(rr, c.x), b = std::max(b, c.y);
    }
    EXPECT_EQ(p.image.width, std::lround((rr - l + 0.75) * kPx));
    EXPECT_EQ(p.image.height, std::lround((b - t + 0.75) * kPx));
    const Mapper at{l - 0.375, t - 0.375};
    const double cx = 100, cy = 75;
    for (auto c : corners) {
        // A little inside each corner is fill, a little outside is background.
        const double dx = (cx - c.x) / std::hypot(cx - c.x, cy - c.y), dy = (cy - c.y) / std::hypot(cx - c.x, cy - c.y);
        const auto [ix, iy] = at(c.x + 4 * dx, c.y + 4 * dy);
        EXPECT_EQ(p.image.at(ix, iy), kRed) << "inside corner " << c.x << "," << c.y;
        const auto [ox, oy] = at(c.x - 2 * dx, c.y - 2 * dy);
        if (ox >= 0 && oy >= 0 && ox < p.image.width && oy < p.image.height) {
            EXPECT_EQ(p.image.at(ox, oy), kWhite) << "outside corner " << c.x << "," << c.y;
        }
    }
    for (auto [x, y] : {std::pair{0, 0}, {p.image.width - 1, 0}, {0, p.image.height - 1}, {p.image.width - 1, p.image.height - 1}}) {
        EXPECT_EQ(p.image.at(x, y), kWhite);
    }
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kPolygon16).size(), 1u);
    EXPECT_TRUE(recordsOf(p.emf, emf::rec::kRectangle).empty());
}

TEST(RenderShapes, OvalFillsItsCentreNotItsCorners) {
    Sheet s;
    const auto o = s.add(ShapeKind::AutoShape, host::msoShapeOval, 0, 0, 90, 60, kGreen);
    o->lineColor = static_cast<int32_t>(kBlue);
    const Pictures p = s.render({o});
    ASSERT_EQ(p.image.width, 121);
    ASSERT_EQ(p.image.height, 81);
    EXPECT_EQ(p.image.at(60, 40), kGreen);
    EXPECT_EQ(p.image.at(0, 40), kBlue);    // the ends of the axes lie on the line
    EXPECT_EQ(p.image.at(120, 40), kBlue);
    EXPECT_EQ(p.image.at(60, 0), kBlue);
    EXPECT_EQ(p.image.at(60, 80), kBlue);
    EXPECT_EQ(p.image.at(5, 5), kWhite);
    EXPECT_EQ(p.image.at(115, 75), kWhite);
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kEllipse).size(), 1u);
    EXPECT_EQ(emf::play(p.emf)->pixels, p.image.pixels);
}

TEST(RenderShapes, LineRunsFromTopLeftToBottomRightAndIsNeverFilled) {
    Sheet s;
    const auto line = s.add(ShapeKind::Line, 0, 0, 0, 60, 30, kRed);
    line->fill = true;
    const Pictures p = s.render({line});
    const Mapper at{-0.375, -0.375};
    for (double t = 0.05; t < 1; t += 0.05) {
        // The pixel holding the point, or one above or below it in its column.
        const auto [x, y] = at(60 * t, 30 * t);
        const bool near = p.image.at(x, y) == kBlack || p.image.at(x, y - 1) == kBlack || p.image.at(x, y + 1) == kBlack;
        EXPECT_TRUE(near) << "t = " << t;
    }
    EXPECT_EQ(countColor(p.image, kRed), 0);
    EXPECT_EQ(p.image.at(p.image.width - 1, 0), kWhite);
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kPolyline16).size(), 1u);
}

TEST(RenderShapes, ClosedFreeformWithACurveIsFilledUnderTheCurve) {
    Sheet s;
    // From (0, 60) a curve with controls (0, 0) and (100, 0) to (100, 60), then a line back.
    const auto f = s.freeform({node(0, 60), node(0, 0, host::msoSegmentCurve), node(100, 0, host::msoSegmentCurve),
                               node(100, 60, host::msoSegmentCurve), node(0, 60)},
                              kBlue);
    const Pictures p = s.render({f});
    const Mapper at{-0.375, -0.375};
    auto pixel = [&](double x, double y) {
        const auto [px, py] = at(x, y);
        return p.image.at(px, py);
    };
    EXPECT_EQ(pixel(50, 20), kBlue);   // the curve's top is at (50, 15)
    EXPECT_EQ(pixel(50, 10), kWhite);  // inside the control points' polygon, above the curve
    EXPECT_EQ(pixel(5, 10), kWhite);
    EXPECT_EQ(pixel(50, 60), kBlack);  // the closing line
    const auto paths = recordsOf(p.emf, emf::rec::kPolyBezierTo16);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kStrokeAndFillPath).size(), 1u);
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kCloseFigure).size(), 1u);

    // The same nodes not returning to the start: an open line, not filled.
    const auto open = s.freeform({node(0, 60), node(0, 0, host::msoSegmentCurve), node(100, 0, host::msoSegmentCurve),
                                  node(100, 60, host::msoSegmentCurve), node(10, 60)},
                                 kBlue);
    const Pictures q = s.render({open});
    EXPECT_EQ(countColor(q.image, kBlue), 0);
    EXPECT_EQ(recordsOf(q.emf, emf::rec::kStrokePath).size(), 1u);
}

TEST(RenderShapes, FreeformNodesBecomeSegments) {
    const auto curve = host::msoSegmentCurve;
    const picture::Figure f = freeformFigure({node(0, 0), node(1, 0), node(2, 0, curve), node(3, 0, curve),
                                              node(4, 0, curve), node(5, 0, curve), node(6, 0, curve)});
    ASSERT_EQ(f.segments.size(), 4u);  // a line, a curve, then two curve nodes short of a curve
    EXPECT_FALSE(f.segments[0].curve);
    EXPECT_TRUE(f.segments[1].curve);
    EXPECT_EQ(f.segments[1].c1.x, 2);
    EXPECT_EQ(f.segments[1].c2.x, 3);
    EXPECT_EQ(f.segments[1].to.x, 4);
    EXPECT_FALSE(f.segments[2].curve);
    EXPECT_EQ(f.segments[3].to.x, 6);
    EXPECT_FALSE(f.closed);
    EXPECT_TRUE(freeformFigure({node(0, 0), node(5, 0), node(5, 5), node(0, 0)}).closed);
    EXPECT_FALSE(freeformFigure({node(0, 0), node(0, 0)}).closed);  // two nodes enclose nothing
}

TEST(RenderShapes, HiddenObjectsAreLeftOut) {
    Sheet s;
    const auto shown = s.rectangle(0, 0, 30, 30, kRed);
    const auto hidden = s.rectangle(100, 100, 30, 30, kBlue);
    hidden->visible = false;
    const Pictures p = s.render({shown, hidden});
    EXPECT_EQ(p.image.width, 41);  // the visible one's size only
    EXPECT_EQ(countColor(p.image, kBlue), 0);

    shown->visible = false;
    RenderRequest request;
    request.sheet = s.sheet;
    request.shapes = {shown, hidden};
    EXPECT_TRUE(renderPictures(request).empty());
}

TEST(RenderShapes, LaterObjectsOnTheSheetCoverEarlierOnes) {
    Sheet s;
    const auto back = s.rectangle(0, 0, 60, 60, kRed);
    const auto front = s.rectangle(30, 30, 60, 60, kBlue);
    const Mapper at{-0.375, -0.375};
    const auto [x, y] = at(45, 45);
    EXPECT_EQ(s.render({front, back}).image.at(x, y), kBlue);  // the sheet's order, not the request's
    std::swap(s.sheet->shapes[0], s.sheet->shapes[1]);
    const Pictures p = s.render({front, back});
    EXPECT_EQ(p.image.at(x, y), kRed);
    // The metafile draws them in the same order: its first rectangle is the blue one's box.
    const auto rects = recordsOf(p.emf, emf::rec::kRectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(emf::param(p.emf, rects[0], 0), 40u);
}

TEST(RenderShapes, GroupTurnsItsMembersAboutItsCentre) {
    Sheet s;
    s.rectangle(0, 0, 40, 20, kRed)->name = "A";
    s.rectangle(60, 0, 40, 20, kGreen)->name = "B";
    ShapeInit init;
    init.kind = ShapeKind::Group;
    init.members = {"A", "B"};
    init.rotation = 90;
    const auto group = s.host.addShape(s.sheet, init);
    const Pictures p = s.render({group});
    // A 100 x 20 group stood on end: 20 x 100 points, A (left) now on top.
    EXPECT_EQ(p.image.width, std::lround(20.75 * kPx));
    EXPECT_EQ(p.image.height, std::lround(100.75 * kPx));
    EXPECT_EQ(p.image.at(p.image.width / 2, 20), kRed);
    EXPECT_EQ(p.image.at(p.image.width / 2, p.image.height - 20), kGreen);
}

TEST(RenderShapes, MetafileAgreesWithTheBitmapAndCarriesText) {
    Sheet s;
    const auto r = s.rectangle(0, 0, 120, 40, kRed, 20);
    const auto f = s.freeform({node(20, 90), node(20, 50, host::msoSegmentCurve), node(120, 50, host::msoSegmentCurve),
                               node(120, 90, host::msoSegmentCurve), node(20, 90)},
                              kGreen);
    const auto t = s.add(ShapeKind::TextBox, 0, 10, 100, 100, 40);
    t->text = "Hello\r\nWorld";
    const Pictures p = s.render({r, f, t});
    const auto played = emf::play(p.emf);
    ASSERT_TRUE(played);
    ASSERT_EQ(played->width, p.image.width);
    ASSERT_EQ(played->height, p.image.height);
    int64_t differ = 0;
    for (size_t i = 0; i < played->pixels.size(); ++i) differ += played->pixels[i] != p.image.pixels[i];
    // Whole-pixel coordinates in the metafile move edges by at most a pixel.
    EXPECT_LT(differ, static_cast<int64_t>(played->pixels.size()) / 100);

    const auto texts = recordsOf(p.emf, emf::rec::kExtTextOutW);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(emf::text(p.emf, texts[0]), "Hello");
    EXPECT_EQ(emf::text(p.emf, texts[1]), "World");
    EXPECT_LT(emf::param(p.emf, texts[0], 8), emf::param(p.emf, texts[1], 8));  // one line under the other

    // Text of a turned object turns with it: its font's escapement, counter-clockwise.
    t->rotation = 90;
    const Pictures q = s.render({t});
    const auto fonts = recordsOf(q.emf, emf::rec::kExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(emf::param(q.emf, fonts[0], 3), 2700u);
}

TEST(RenderShapes, CopyingThroughTheHostPutsBothPicturesOnTheClipboard) {
    Sheet s;
    s.rectangle(0, 0, 50, 20, kRed)->name = "R";
    const auto app = s.host.application();
    app->activeSheet()->shapes()->item("R")->copyPicture();
    const auto emfPicture = s.host.clipboard().getPicture(platform::cf::kEnhMetafile);
    const auto bmpPicture = s.host.clipboard().getPicture(platform::cf::kBitmap);
    ASSERT_TRUE(emfPicture && bmpPicture);
    EXPECT_TRUE(emf::read(emfPicture->bytes));
    const auto image = picture::decodeBmp(bmpPicture->bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(10, 10), kRed);
}

// ---------------------------------------------------------------- cells

TEST(RenderCells, SizesFollowTheStandardFont) {
    EXPECT_EQ(columnPixels(8.43), 64);
    EXPECT_EQ(columnPixels(10), 75);
    EXPECT_EQ(columnPixels(0.5), 6);
    EXPECT_EQ(columnPixels(0), 0);
    EXPECT_EQ(rowPixels(12.75), 17);
    EXPECT_EQ(rowPixels(15), 20);
    EXPECT_EQ(rowPixels(0), 0);
}

TEST(RenderCells, RangeIsWhiteWithGridlinesAtItsSize) {
    Sheet s;
    s.sheet->columnWidths[2] = 10;  // B: 75 pixels
    s.sheet->rowHeights[3] = 0;     // row 3 hidden
    const Pictures p = s.render({}, CellArea{{1, 1}, {4, 3}, false});
    ASSERT_EQ(p.image.width, 64 + 75 + 64);
    ASSERT_EQ(p.image.height, 17 + 17 + 0 + 17);
    const uint32_t grid = 0xC0C0C0;
    for (int32_t x : {0, 63, 138, 202}) EXPECT_EQ(p.image.at(x, 8), grid) << "x " << x;
    for (int32_t y : {0, 16, 33, 50}) EXPECT_EQ(p.image.at(30, y), grid) << "y " << y;
    EXPECT_EQ(p.image.at(30, 8), kWhite);
    EXPECT_EQ(p.image.at(64, 8), kWhite);
    const auto m = emf::read(p.emf);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->header.bounds, (emf::Rect{0, 0, 202, 50}));
    EXPECT_EQ(recordsOf(p.emf, emf::rec::kPolyline16).size(), 8u);

    s.sheet->gridlines = false;
    EXPECT_EQ(picture::uniformColor(s.render({}, CellArea{{1, 1}, {2, 2}, false}).image), kWhite);
}

TEST(RenderCells, MetafileCarriesTheTextOfTheRangeOnly) {
    Sheet s;
    s.sheet->cellText[{1, 1}] = "outside";
    s.sheet->cellText[{2, 2}] = "B2";
    s.sheet->cellText[{3, 3}] = "C3";
    s.sheet->cellAlignment[{3, 3}] = host::xlTop;
    const Pictures p = s.render({}, CellArea{{2, 2}, {3, 3}, false});
    const auto texts = recordsOf(p.emf, emf::rec::kExtTextOutW);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(emf::text(p.emf, texts[0]), "B2");
    EXPECT_EQ(emf::param(p.emf, texts[0], 7), 2u);
    EXPECT_EQ(emf::param(p.emf, texts[0], 8), 0u);  // bottom-aligned in a 17-pixel row
    EXPECT_EQ(emf::text(p.emf, texts[1]), "C3");
    EXPECT_EQ(emf::param(p.emf, texts[1], 7), 66u);
    EXPECT_EQ(emf::param(p.emf, texts[1], 8), 18u);  // top-aligned in the second row
}

TEST(RenderCells, TooLargeAreasGiveNoPicture) {
    Sheet s;
    RenderRequest request;
    request.sheet = s.sheet;
    request.cells = CellArea{{1, 1}, {kSheetRows, kSheetColumns}, true};
    EXPECT_TRUE(renderPictures(request).empty());
    request.cells = CellArea{{1, 1}, {5000, 1}, false};  // 85,000 pixels tall
    EXPECT_TRUE(renderPictures(request).empty());
    s.sheet->columnWidth = 0;  // every column hidden: nothing to show
    request.cells = CellArea{{1, 1}, {2, 2}, false};
    EXPECT_TRUE(renderPictures(request).empty());
}

TEST(RenderCells, SelectionCopyPutsPicturesAndText) {
    Sheet s;
    s.host.editCell(s.sheet, "A1", "x");
    s.host.selectRange("A1:B2");
    s.host.application()->selection()->copy();
    EXPECT_TRUE(s.host.clipboard().hasFormat(platform::cf::kEnhMetafile));
    EXPECT_EQ(s.host.clipboard().getText(platform::cf::kText), "x\t\r\n\t\r\n");
    const auto bmp = s.host.clipboard().getPicture(platform::cf::kBitmap);
    ASSERT_TRUE(bmp);
    const auto image = picture::decodeBmp(bmp->bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 128);
    EXPECT_EQ(image->height, 34);
}

}  // namespace
}  // namespace qm::sim::testing
