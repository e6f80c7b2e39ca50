// PNG writing: chunks, a zlib stream of one deflate block with the fixed Huffman codes, and
// greedy LZ77 matching over hash chains.
#include "core/picture/png.h"

#include <algorithm>
#include <array>

namespace qm::picture {
namespace {

// Bits into bytes, least significant bit first, as deflate packs them.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void put(uint32_t bits, int count) {
        for (int i = 0; i < count; ++i) {
            if (((bits >> i) & 1) != 0) current_ = static_cast<uint8_t>(current_ | (1u << used_));
            if (++used_ == 8) flush();
        }
    }
    // A Huffman code goes most significant bit first.
    void putCode(uint32_t code, int length) {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
        put(reversed, length);
    }
    void finish() {
        if (used_ > 0) flush();
    }

private:
    void flush() {
        out_.push_back(current_);
        current_ = 0;
        used_ = 0;
    }
    std::vector<uint8_t>& out_;
    uint8_t current_ = 0;
    int used_ = 0;
};

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                    33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                    1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

constexpr size_t kWindow = 32768;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr int kChainLimit = 32;
constexpr size_t kHashSize = 1u << 15;

// The fixed literal/length code of a symbol (0-287).
void putSymbol(BitWriter& w, uint32_t symbol) {
    if (symbol < 144) w.putCode(0x30 + symbol, 8);
    else if (symbol < 256) w.putCode(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.putCode(symbol - 256, 7);
    else w.putCode(0xC0 + symbol - 280, 8);
}

void putMatch(BitWriter& w, size_t length, size_t distance) {
    size_t code = kLengthBase.size() - 1;
    while (kLengthBase[code] > length) --code;
    putSymbol(w, static_cast<uint32_t>(257 + code));
    w.put(static_cast<uint32_t>(length - kLengthBase[code]), kLengthExtra[code]);
    size_t d = kDistanceBase.size() - 1;
    while (kDistanceBase[d] > distance) --d;
    w.putCode(static_cast<uint32_t>(d), 5);
    w.put(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

size_t hashAt(const std::vector<uint8_t>& data, size_t i) {
    const uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
    return (v * 2654435761u) >> 17;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (const uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

namespace {

// A zlib stream of `data` (deflate, fixed codes) as PNG's IDAT chunks carry it.
std::vector<uint8_t> zlibCompress(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32K window, no dictionary
    BitWriter w(out);
    w.put(1, 1);  // the last block
    w.put(1, 2);  // fixed Huffman codes
    std::vector<int64_t> head(kHashSize, -1);
    std::vector<int64_t> previous(kWindow, -1);
    auto insert = [&](size_t i) {
        if (i + kMinMatch > data.size()) return;
        const size_t h = hashAt(data, i);
        previous[i % kWindow] = head[h];
        head[h] = static_cast<int64_t>(i);
    };
    size_t i = 0;
    while (i < data.size()) {
        size_t bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= data.size()) {
            const size_t limit = std::min(kMaxMatch, data.size() - i);
            int64_t candidate = head[hashAt(data, i)];
            for (int steps = 0; candidate >= 0 && steps < kChainLimit; ++steps) {
                const size_t c = static_cast<size_t>(candidate);
                if (i - c > kWindow - 1) break;
                size_t length = 0;
                while (length < limit && data[c + length] == data[i + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - c;
                    if (length == limit) break;
                }
                candidate = previous[c % kWindow];
            }
        }
        if (bestLength >= kMinMatch) {
            putMatch(w, bestLength, bestDistance);
            for (size_t k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            putSymbol(w, data[i]);
            insert(i);
            ++i;
        }
    }
    putSymbol(w, 256);  // end of block
    w.finish();
    putBigEndian(out, adler32(data));
    return out;
}

}  // namespace

std::vector<uint8_t> encodePng(const Image& image, std::optional<uint32_t> transparent) {
    const bool alpha = transparent.has_value();
    const size_t channels = alpha ? 4 : 3;
    const auto width = static_cast<size_t>(std::max(image.width, 0));
    const auto height = static_cast<size_t>(std::max(image.height, 0));
    // Each row: filter type 0 (none), then the pixels.
    std::vector<uint8_t> raw;
    raw.reserve(height * (1 + width * channels));
    for (size_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (size_t x = 0; x < width; ++x) {
            const uint32_t c = image.pixels[y * width + x] & 0xFFFFFF;
            raw.push_back(static_cast<uint8_t>(c & 0xFF));
            raw.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
            raw.push_back(static_cast<uint8_t>((c >> 16) & 0xFF));
            if (alpha) raw.push_back(c == (*transparent & 0xFFFFFF) ? 0 : 255);
        }
    }
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, static_cast<uint32_t>(width));
    putBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, static_cast<uint8_t>(alpha ? 6 : 2), 0, 0, 0});
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibCompress(raw));
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace qm::picture
