// PNG files of images, for pages that show pictures inline: 8-bit truecolour, compressed
// with a small deflate (fixed Huffman codes, greedy matching), enough for the flat colours
// of faces, windows and drawings.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture/bmp.h"

namespace qm::picture {

// The PNG file of `image`: RGB, or RGBA when `transparent` names a colour (0x00BBGGRR) whose
// pixels are to be left out, as a toolbar face's background is.
std::vector<uint8_t> encodePng(const Image& image, std::optional<uint32_t> transparent = std::nullopt);

// CRC-32 (ISO 3309, as PNG chunks use it) and Adler-32 (as zlib streams end with it).
uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t adler32(const std::vector<uint8_t>& data);

}  // namespace qm::picture
