// Bitmap encoding and decoding, and the component's own pictures.
#include <gtest/gtest.h>

#include "core/picture/bmp.h"
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
    for (int page = 1; page <= resources::kAdvicePages; ++page) {
        for (bool japanese : {false, true}) {
            auto img = decodeBmp(resources::bitmap(resources::advicePage(page, japanese)));  // run-length palette images
            ASSERT_TRUE(img) << page;
            EXPECT_EQ(img->width, 400);
            EXPECT_EQ(img->height, 330);
        }
        // Each language's page is lettered in its own words.
        EXPECT_NE(decodeBmp(resources::bitmap(resources::advicePage(page, true)))->pixels,
                  decodeBmp(resources::bitmap(resources::advicePage(page, false)))->pixels)
            << page;
    }
    auto logo = decodeBmp(resources::bitmap(resources::kLogo));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->width, 169);
    EXPECT_EQ(logo->height, 71);
    EXPECT_TRUE(resources::bitmap(99).empty());
}

}  // namespace
}  // namespace qm::picture
