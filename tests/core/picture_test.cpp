// Bitmap encoding and decoding, and the component's own pictures.
#include <gtest/gtest.h>

#include "core/picture/bmp.h"
#include "core/picture/png.h"
#include "core/resources/artwork.h"

namespace qm::picture {
namespace {

TEST(Bmp, RoundTripsOddWidthsWithRowPadding) {
    Image img = solidImage(5, 3, 0x0000FF);
    img.at(4, 0) = 0x123456;
    img.at(0, 2) = 0xABCDEF;
    const auto bytes = encodeBmp(img);
    ASSERT_EQ(bytes.size(), 54u + 16u * 3u);  // 5 pixels = 15 bytes, padded to 16
    auto back = decodeBmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 5);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->pixels, img.pixels);
    EXPECT_FALSE(uniformColor(*back));
    EXPECT_EQ(uniformColor(solidImage(2, 2, 0xFF)), 0xFFu);
}

TEST(Bmp, RejectsTruncatedAndForeignData) {
    auto bytes = encodeBmp(solidImage(4, 4, 0));
    EXPECT_FALSE(decodeBmp({bytes.begin(), bytes.end() - 5}));
    EXPECT_FALSE(decodeBmp({'G', 'I', 'F', '8', '9', 'a'}));
    bytes[28] = 16;  // 16-bit images are not read
    EXPECT_FALSE(decodeBmp(bytes));
}

TEST(Artwork, FacesAdvicePagesAndLogoHaveTheirSizes) {
    for (int id = resources::kFaceFirst; id <= resources::kFaceLast; ++id) {
        auto img = decodeBmp(resources::bitmap(id));
        ASSERT_TRUE(img) << id;
        const int side = id == 10 ? 26 : 15;
        EXPECT_EQ(img->width, side) << id;
        EXPECT_EQ(img->height, side) << id;
        EXPECT_FALSE(uniformColor(*img)) << id;  // a face shows something
    }
    for (int page = 0; page < resources::kAdvicePages; ++page) {
        auto img = decodeBmp(resources::bitmap(resources::kAdviceFirst + page));  // run-length palette images
        ASSERT_TRUE(img) << page;
        EXPECT_EQ(img->width, 400);
        EXPECT_EQ(img->height, 330);
    }
    auto logo = decodeBmp(resources::bitmap(resources::kLogo));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width, 169);
    EXPECT_EQ(logo->height, 71);
    EXPECT_TRUE(resources::bitmap(99).empty());
}

TEST(Png, ChecksumsMatchTheirStandardsCheckValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(adler32({word.begin(), word.end()}), 0x11E60398u);
    EXPECT_EQ(adler32({}), 1u);
}

// The chunks of a PNG file: type and data, each chunk's CRC checked.
std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks(const std::vector<uint8_t>& png) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    const auto be = [&](size_t at) {
        return (uint32_t{png[at]} << 24) | (uint32_t{png[at + 1]} << 16) | (uint32_t{png[at + 2]} << 8) | png[at + 3];
    };
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = be(at);
        if (at + 12 + length > png.size()) break;
        EXPECT_EQ(be(at + 8 + length), crc32(png.data() + at + 4, length + 4));
        out.emplace_back(std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8),
                         std::vector<uint8_t>(png.begin() + static_cast<long>(at) + 8,
                                              png.begin() + static_cast<long>(at + 8 + length)));
        at += 12 + length;
    }
    return out;
}

TEST(Png, HasTheSignatureAHeaderOneImageChunkAndTheEnd) {
    const auto png = encodePng(solidImage(300, 2, 0x00FF00));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    const auto list = chunks(png);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].first, "IHDR");
    // 300 x 2, 8 bits, truecolour (2), deflate, no filter method, not interlaced.
    EXPECT_EQ(list[0].second, (std::vector<uint8_t>{0, 0, 1, 44, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    EXPECT_EQ(list[1].first, "IDAT");
    // Two rows of 901 bytes of one colour compress to a few matches.
    EXPECT_LT(list[1].second.size(), 60u);
    EXPECT_EQ(list[2].first, "IEND");
    EXPECT_TRUE(list[2].second.empty());
    // A transparent colour makes it truecolour with alpha (6).
    EXPECT_EQ(chunks(encodePng(solidImage(1, 1, 0), 0x000000))[0].second[9], 6);
}

}  // namespace
}  // namespace qm::picture
