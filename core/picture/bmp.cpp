// BMP encoding and decoding.
#include "core/picture/bmp.h"

#include <cstring>

namespace qm::picture {
namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t get16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

Image solidImage(int32_t width, int32_t height, uint32_t color) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), color & 0xFFFFFF);
    return img;
}

std::vector<uint8_t> encodeBmp(const Image& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 3780);  // 96 dpi
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t c = image.at(x, y);
            out.push_back(static_cast<uint8_t>(c >> 16));  // blue
            out.push_back(static_cast<uint8_t>(c >> 8));   // green
            out.push_back(static_cast<uint8_t>(c));        // red
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

namespace {

// 8-bit palette images, plain or run-length encoded (BI_RLE8).
std::optional<Image> decodePalette8(const std::vector<uint8_t>& b, int32_t width, int32_t height, bool bottomUp,
                                    uint32_t compression, uint32_t offset, uint32_t headerSize) {
    uint32_t colors = get32(b, 46);
    if (colors == 0 || colors > 256) colors = 256;
    const size_t paletteAt = 14 + static_cast<size_t>(headerSize);
    if (paletteAt + static_cast<size_t>(colors) * 4 > b.size()) return std::nullopt;
    auto color = [&](uint8_t index) -> uint32_t {
        if (index >= colors) return 0;
        const size_t p = paletteAt + static_cast<size_t>(index) * 4;
        return static_cast<uint32_t>(b[p + 2]) | static_cast<uint32_t>(b[p + 1]) << 8 | static_cast<uint32_t>(b[p]) << 16;
    };
    Image img = solidImage(width, height, color(0));
    auto put = [&](int32_t x, int32_t row, uint8_t index) {
        if (x < 0 || x >= width || row < 0 || row >= height) return;
        img.at(x, bottomUp ? height - 1 - row : row) = color(index);
    };
    if (compression == 0) {
        const uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
        if (offset > b.size() || stride * static_cast<uint64_t>(height) > b.size() - offset) return std::nullopt;
        for (int32_t row = 0; row < height; ++row) {
            for (int32_t x = 0; x < width; ++x) put(x, row, b[offset + static_cast<size_t>(stride) * static_cast<size_t>(row) + static_cast<size_t>(x)]);
        }
        return img;
    }
    if (compression != 1 || !bottomUp) return std::nullopt;
    size_t p = offset;
    int32_t x = 0;
    int32_t row = 0;
    while (p + 1 < b.size()) {
        const uint8_t count = b[p++];
        const uint8_t value = b[p++];
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(x++, row, value);
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return img;
        } else if (value == 2) {
            if (p + 1 >= b.size()) return std::nullopt;
            x += b[p++];
            row += b[p++];
        } else {
            if (p + value > b.size()) return std::nullopt;
            for (int i = 0; i < value; ++i) put(x++, row, b[p++]);
            if (value & 1) ++p;  // runs of literals are padded to a 16-bit boundary
        }
    }
    return img;
}

}  // namespace

std::optional<Image> decodeBmp(const std::vector<uint8_t>& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const uint32_t offset = get32(b, 10);
    const uint32_t headerSize = get32(b, 14);
    if (headerSize < 40) return std::nullopt;
    const int32_t width = static_cast<int32_t>(get32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(get32(b, 22));
    const uint16_t bits = get16(b, 28);
    const uint32_t compression = get32(b, 30);
    if (width <= 0 || rawHeight == 0 || width > 65535 || rawHeight > 65535 || rawHeight < -65535) return std::nullopt;
    const bool bottomUp = rawHeight > 0;
    const int32_t height = bottomUp ? rawHeight : -rawHeight;
    if (bits == 8) return decodePalette8(b, width, height, bottomUp, compression, offset, headerSize);
    if ((bits != 24 && bits != 32) || (compression != 0 && !(compression == 3 && bits == 32))) return std::nullopt;
    const uint32_t bytesPerPixel = bits / 8u;
    const uint64_t stride = (static_cast<uint64_t>(width) * bytesPerPixel + 3) & ~uint64_t{3};
    if (offset > b.size() || stride * static_cast<uint64_t>(height) > b.size() - offset) return std::nullopt;
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t row = 0; row < height; ++row) {
        const size_t base = offset + static_cast<size_t>(stride) * static_cast<size_t>(row);
        const int32_t y = bottomUp ? height - 1 - row : row;
        for (int32_t x = 0; x < width; ++x) {
            const size_t p = base + static_cast<size_t>(x) * bytesPerPixel;
            img.at(x, y) = static_cast<uint32_t>(b[p + 2]) | static_cast<uint32_t>(b[p + 1]) << 8 |
                           static_cast<uint32_t>(b[p]) << 16;
        }
    }
    return img;
}

std::optional<uint32_t> uniformColor(const Image& image) {
    if (image.pixels.empty()) return std::nullopt;
    for (uint32_t c : image.pixels) {
        if (c != image.pixels.front()) return std::nullopt;
    }
    return image.pixels.front();
}

}  // namespace qm::picture
