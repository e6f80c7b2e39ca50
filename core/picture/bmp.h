// Windows bitmap files: writing 24-bit images and reading the ones the add-in and the
// simulated host exchange (24 and 32 bit, uncompressed, bottom-up or top-down).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace qm::picture {

// An RGB image, rows top to bottom; colours as 0x00BBGGRR like the host's colours.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height

    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    uint32_t& at(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

Image solidImage(int32_t width, int32_t height, uint32_t color);

// The bytes of a 24-bit BMP file of `image`.
std::vector<uint8_t> encodeBmp(const Image& image);

// Decodes a BMP file; nothing when the bytes are not a BMP this reader understands.
std::optional<Image> decodeBmp(const std::vector<uint8_t>& bytes);

// The one colour of an image whose pixels are all alike.
std::optional<uint32_t> uniformColor(const Image& image);

}  // namespace qm::picture
