#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/PixelBuffer.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tessaly;

namespace {

bool allWhite(const Bitmap24& b) {
    return std::all_of(b.bits(), b.bits() + b.byteSize(), [](uint8_t v) { return v == 0xFF; });
}

} // namespace

// A bitmap dropped by one run serves the next of the same size, and comes back
// white, not with the old pixels.
TEST(PixelBuffer, LargeBuffersAreReusedAndComeBackWhite) {
    dropPixelCache();
    const uint8_t* first = nullptr;
    {
        Bitmap24 b;
        b.resize(1000, 700);
        first = b.bits();
        std::fill(b.bits(), b.bits() + b.byteSize(), 0x12);
    }
    EXPECT_EQ(cachedPixelBuffers(), 1u);
    Bitmap24 again;
    again.resize(1000, 700);
    EXPECT_EQ(again.bits(), first);
    EXPECT_TRUE(allWhite(again));
    EXPECT_EQ(cachedPixelBuffers(), 0u);
}

TEST(PixelBuffer, KeepsOnlyAFewBuffers) {
    dropPixelCache();
    for (int i = 0; i < 5; ++i) {
        Bitmap24 b;
        b.resize(1000 + 400 * i, 700);
    }
    EXPECT_EQ(cachedPixelBuffers(), 2u);
    dropPixelCache();
    EXPECT_EQ(cachedPixelBytes(), 0u);
}

TEST(PixelBuffer, CopiesAndSmallBitmapsKeepTheirPixels) {
    for (int width : {3, 1000}) {
        Bitmap24 b;
        b.resize(width, 600);
        b.bits()[5] = 7;
        const Bitmap24 copy = b;
        EXPECT_EQ(copy.bits()[5], 7);
        EXPECT_NE(copy.bits(), b.bits());
        EXPECT_TRUE(std::equal(b.bits(), b.bits() + b.byteSize(), copy.bits()));
    }
}
