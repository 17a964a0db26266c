// Colour packing: premultiplied bytes R, G, B, A, clamped to one byte each.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "graphics/device.h"

namespace {

TEST(PackColor, PremultipliesAndClampsEachByte) {
    struct Case {
        float r, g, b, alpha;
        std::uint32_t packed;  // A<<24 | B<<16 | G<<8 | R
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {255, 0, 0, 0.5f, 0x7f00007fu},
        {255, 255, 255, 1, 0xffffffffu},
        {10, 20, 30, 0, 0x00000000u},
        {200, 100, 50, 0.25f, 0x3f0c1932u},
        // Out of range: an alpha above 1 saturates every byte it pushes
        // past 255, negative inputs and NaN give 0.
        {255, 100, 0, 1.5f, 0xff0096ffu},
        {300, -5, 128, 1, 0xff8000ffu},
        {255, 255, 255, -1, 0x00000000u},
        {nan, 0, 255, nan, 0x00000000u},
        {1e30f, 0, 0, 1e30f, 0xff0000ffu},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b << " a=" << c.alpha);
        EXPECT_EQ(gxtkPackColor(c.r, c.g, c.b, c.alpha), c.packed);
    }
}

}  // namespace
