// Shared helpers of the simulated host's tests: a host with one workbook and a way to
// check the number and text of a host error.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/host/constants.h"
#include "core/host/error.h"
#include "sim/sim_host.h"

namespace qm::sim::testing {

// Runs `f` and checks that it fails with `number` (and `description`, when given).
template <class F>
void expectHostError(F&& f, int32_t number, const std::string& description = "") {
    try {
        f();
        ADD_FAILURE() << "expected host error " << number;
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        if (!description.empty()) {
            EXPECT_EQ(e.description(), description);
        }
    }
}

// A host with "Book1" open on the worksheet "Sheet1".
struct HostWithBook {
    SimHost host;
    WorkbookNodePtr book = host.addWorkbook("Book1");
    SheetNodePtr sheet = host.addWorksheet(book, "Sheet1");
    host::ApplicationPtr app = host.application();
};

inline ShapeInit rect(float left, float top, float width, float height, std::string name = "") {
    ShapeInit init;
    init.left = left;
    init.top = top;
    init.width = width;
    init.height = height;
    init.name = std::move(name);
    return init;
}

inline ShapeInit ofKind(ShapeKind kind, std::string name = "") {
    ShapeInit init = rect(10, 10, 50, 30, std::move(name));
    init.kind = kind;
    return init;
}

// A bottom-up BMP file of one colour (0x00BBGGRR), 24 or 32 bits per pixel; `odd` gives
// the last pixel another colour.
inline std::vector<uint8_t> makeBmp(int32_t width, int32_t height, int32_t color, int bits = 24, bool odd = false) {
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t size = 54 + stride * static_cast<size_t>(height);
    std::vector<uint8_t> b(size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t p = 54 + stride * static_cast<size_t>(y) + static_cast<size_t>(x) * (bits / 8);
            const int32_t c = odd && y == height - 1 && x == width - 1 ? color ^ 0xFF : color;
            b[p] = static_cast<uint8_t>(c >> 16);
            b[p + 1] = static_cast<uint8_t>(c >> 8);
            b[p + 2] = static_cast<uint8_t>(c);
        }
    }
    return b;
}

}  // namespace qm::sim::testing
