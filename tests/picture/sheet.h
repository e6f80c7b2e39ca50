// A sheet of the simulated host to draw on, and the two pictures its renderer makes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/picture/bmp.h"
#include "sim/render.h"
#include "sim/sim_host.h"

namespace qm::sim::testing {

inline constexpr uint32_t kRed = 0x0000FF;
inline constexpr uint32_t kGreen = 0x00FF00;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;

struct Pictures {
    std::vector<uint8_t> emf;
    std::vector<uint8_t> bmp;
    picture::Image image;  // the bitmap, decoded
};

struct Sheet {
    SimHost host;
    WorkbookNodePtr book = host.addWorkbook("Book1");
    SheetNodePtr sheet = host.addWorksheet(book, "Sheet1");

    DrawingObjectPtr add(ShapeKind kind, int32_t autoShape, float left, float top, float width, float height,
                         uint32_t fill = kWhite, float rotation = 0) {
        ShapeInit init;
        init.kind = kind;
        init.autoShapeType = autoShape;
        init.left = left;
        init.top = top;
        init.width = width;
        init.height = height;
        init.rotation = rotation;
        auto o = host.addShape(sheet, init);
        o->fillColor = static_cast<int32_t>(fill);
        return o;
    }
    DrawingObjectPtr rectangle(float left, float top, float width, float height, uint32_t fill = kWhite, float rotation = 0) {
        return add(ShapeKind::AutoShape, host::msoShapeRectangle, left, top, width, height, fill, rotation);
    }
    DrawingObjectPtr freeform(std::vector<PathNode> nodes, uint32_t fill = kWhite) {
        ShapeInit init;
        init.kind = ShapeKind::Freeform;
        init.nodes = std::move(nodes);
        auto o = host.addShape(sheet, init);
        o->fillColor = static_cast<int32_t>(fill);
        return o;
    }

    // Both pictures of a copy; fails the test unless there are exactly the EMF and the BMP.
    Pictures render(const std::vector<DrawingObjectPtr>& shapes, std::optional<CellArea> cells = std::nullopt) const {
        RenderRequest request;
        request.sheet = sheet;
        request.shapes = shapes;
        request.cells = cells;
        const std::vector<platform::Picture> out = renderPictures(request);
        Pictures p;
        EXPECT_EQ(out.size(), 2u);
        if (out.size() != 2) return p;
        EXPECT_EQ(out[0].format, platform::cf::kEnhMetafile);
        EXPECT_EQ(out[1].format, platform::cf::kBitmap);
        p.emf = out[0].bytes;
        p.bmp = out[1].bytes;
        const auto image = picture::decodeBmp(p.bmp);
        EXPECT_TRUE(image);
        if (image) p.image = *image;
        return p;
    }
};

inline PathNode node(float x, float y, int32_t segment = host::msoSegmentLine) {
    return {x, y, host::msoEditingAuto, segment};
}

}  // namespace qm::sim::testing
