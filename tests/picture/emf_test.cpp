// The EMF writer's framing, records and text, and the reader's refusals of broken files.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/picture/emf.h"

namespace qm::picture::emf {
namespace {

uint32_t word(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

void setWord(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint32_t> types(const Metafile& m) {
    std::vector<uint32_t> out;
    for (const Record& r : m.records) out.push_back(r.type);
    return out;
}

std::vector<uint8_t> sample() {
    Writer w(134, 68);
    const Handle pen = w.createPen(0x000000, 1);
    const Handle brush = w.createBrush(0x0000FF);
    w.select(pen);
    w.select(brush);
    w.rectangle({0, 0, 134, 68});
    w.deleteObject(brush);
    w.deleteObject(pen);
    return w.finish();
}

TEST(EmfWriter, HeaderDescribesTheFile) {
    const std::vector<uint8_t> bytes = sample();
    std::string error;
    const auto m = read(bytes, &error);
    ASSERT_TRUE(m) << error;
    const Header& h = m->header;
    EXPECT_EQ(h.headerSize, 108u);
    EXPECT_EQ(word(bytes, 40), kSignature);
    EXPECT_EQ(h.version, 0x10000u);
    EXPECT_EQ(h.bytes, bytes.size());
    EXPECT_EQ(h.records, m->records.size());
    EXPECT_EQ(h.handles, 3);  // two objects at once, plus the metafile itself
    EXPECT_EQ(h.paletteEntries, 0u);
    EXPECT_EQ(h.bounds, (Rect{0, 0, 133, 67}));
    // 134 x 68 pixels at 96 dpi are 35.45 x 17.99 mm.
    EXPECT_EQ(h.frame, (Rect{0, 0, 3544, 1798}));
    EXPECT_EQ(h.deviceWidth, 1024);
    EXPECT_EQ(h.deviceHeight, 768);
    EXPECT_EQ(h.deviceWidthMm, 271);
    EXPECT_EQ(h.deviceHeightMm, 203);
    EXPECT_EQ(types(*m), (std::vector<uint32_t>{rec::kHeader, rec::kSetMapMode, rec::kCreatePen, rec::kCreateBrushIndirect,
                                                rec::kSelectObject, rec::kSelectObject, rec::kRectangle,
                                                rec::kDeleteObject, rec::kDeleteObject, rec::kEof}));
    const Record& eof = m->records.back();
    EXPECT_EQ(eof.size, 20u);
    EXPECT_EQ(param(bytes, eof, 0), 0u);  // no palette
    EXPECT_EQ(param(bytes, m->records[6], 2), 134u);
}

TEST(EmfWriter, ReusesFreedHandles) {
    Writer w(10, 10);
    const Handle a = w.createPen(0, 1);
    const Handle b = w.createNullBrush();
    w.deleteObject(a);
    EXPECT_EQ(w.createBrush(0xFF), a);
    EXPECT_EQ(w.createFont(13, 0, "Arial"), 3u);
    EXPECT_THROW(w.deleteObject(7), std::invalid_argument);
    w.deleteObject(b);
    EXPECT_THROW(w.deleteObject(b), std::invalid_argument);
    const auto m = read(w.finish());
    ASSERT_TRUE(m);
    EXPECT_EQ(m->header.handles, 4);
}

TEST(EmfWriter, PointRecordsCarryBoundsAndSignedPoints) {
    Writer w(100, 100);
    const std::vector<Point> triangle{{5, -3}, {90, 40}, {-20, 70}};
    w.polygon(triangle);
    w.beginPath();
    w.moveTo({0, 0});
    w.bezierTo({{10, 0}, {20, 10}, {20, 20}});
    w.endPath();
    EXPECT_THROW(w.bezierTo({{1, 1}, {2, 2}}), std::invalid_argument);
    EXPECT_THROW(w.polyline({{0, 40000}}), std::out_of_range);
    EXPECT_THROW(w.polyline({}), std::invalid_argument);
    const auto bytes = w.finish();
    const auto m = read(bytes);
    ASSERT_TRUE(m);
    const Record& polygon = m->records[2];
    ASSERT_EQ(polygon.type, rec::kPolygon16);
    EXPECT_EQ(polygon.size, 28u + 4 * 3);
    EXPECT_EQ(points16(bytes, polygon), triangle);
    EXPECT_EQ(static_cast<int32_t>(param(bytes, polygon, 0)), -20);  // bounds: left, top, right, bottom
    EXPECT_EQ(static_cast<int32_t>(param(bytes, polygon, 1)), -3);
    EXPECT_EQ(param(bytes, polygon, 2), 90u);
    EXPECT_EQ(param(bytes, polygon, 3), 70u);
    EXPECT_EQ(m->records[5].type, rec::kPolyBezierTo16);
    EXPECT_EQ(points16(bytes, m->records[5]).size(), 3u);
}

TEST(EmfWriter, TextTravelsAsUtf16) {
    Writer w(200, 20);
    w.textOut({4, 2}, "Zoë \xF0\x9F\x98\x80!", 7);  // odd number of UTF-16 units: the record is padded
    w.textOut({4, 2}, "a\xFF" "b", 7);                  // a stray byte becomes U+FFFD
    w.textOut({0, 0}, "", 7);                             // nothing to write
    const auto bytes = w.finish();
    const auto m = read(bytes);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->records.size(), 5u);
    const Record& t = m->records[2];
    EXPECT_EQ(t.type, rec::kExtTextOutW);
    EXPECT_EQ(text(bytes, t), "Zoë \xF0\x9F\x98\x80!");
    EXPECT_EQ(param(bytes, t, 9), 7u);  // characters: the emoji takes two
    EXPECT_EQ(t.size % 4, 0u);
    EXPECT_EQ(param(bytes, t, 7), 4u);  // reference point
    EXPECT_EQ(param(bytes, t, 8), 2u);
    EXPECT_EQ(word(bytes, t.offset + param(bytes, t, 16)), 7u);  // first advance
    EXPECT_EQ(text(bytes, m->records[3]), "a\xEF\xBF\xBD" "b");
}

TEST(EmfWriter, RefusesSizesTheRecordsCannotAddress) {
    EXPECT_THROW(Writer(0, 10), std::invalid_argument);
    EXPECT_THROW(Writer(10, Writer::kMaxExtent + 1), std::invalid_argument);
    EXPECT_NO_THROW(Writer(Writer::kMaxExtent, 1));
}

TEST(EmfReader, RefusesBrokenFiles) {
    const std::vector<uint8_t> good = sample();
    std::string error;
    auto refused = [&](std::vector<uint8_t> bytes, const std::string& why) {
        error.clear();
        const bool ok = read(bytes, &error).has_value();
        return !ok && error.find(why) != std::string::npos;
    };
    EXPECT_TRUE(refused({good.begin(), good.begin() + 60}, "shorter than")) << error;

    auto cut = good;
    cut.resize(good.size() - 20);
    EXPECT_TRUE(refused(cut, "nBytes")) << error;
    setWord(cut, 48, static_cast<uint32_t>(cut.size()));
    EXPECT_TRUE(refused(cut, "no EMR_EOF")) << error;

    auto extra = good;
    extra.insert(extra.end(), 4, 0);
    setWord(extra, 48, static_cast<uint32_t>(extra.size()));
    EXPECT_TRUE(refused(extra, "after EMR_EOF")) << error;

    auto misaligned = good;
    setWord(misaligned, 108 + 4, 10);  // SETMAPMODE's size
    EXPECT_TRUE(refused(misaligned, "has size 10")) << error;

    auto miscounted = good;
    setWord(miscounted, 52, 9);
    EXPECT_TRUE(refused(miscounted, "nRecords is 9")) << error;

    auto unsigned_ = good;
    unsigned_[41] = 'X';
    EXPECT_TRUE(refused(unsigned_, "signature")) << error;
}

TEST(EmfPlayer, DrawsGdiRectanglesWithoutTheirRightAndBottomEdge) {
    const auto image = play(sample());
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 134);
    ASSERT_EQ(image->height, 68);
    EXPECT_EQ(image->at(0, 0), 0x000000u);
    EXPECT_EQ(image->at(133, 67), 0x000000u);
    EXPECT_EQ(image->at(1, 1), 0x0000FFu);
    EXPECT_EQ(image->at(132, 66), 0x0000FFu);
    EXPECT_FALSE(play({1, 2, 3}));
}

}  // namespace
}  // namespace qm::picture::emf
