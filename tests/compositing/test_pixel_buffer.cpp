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

// Only memory a bitmap does not write itself is whitened: a picture that
// covers every pixel gets its bitmap with the pixels as they were, but the row
// padding that goes into the file is white whatever the memory held.
TEST(PixelBuffer, OverwrittenBitmapsComeBackWithWhitePadding) {
    dropPixelCache();
    {
        Bitmap24 b;
        b.resize(1001, 700); // 3003 bytes of pixels, a row of 3004
        std::fill(b.bits(), b.bits() + b.byteSize(), 0x12);
    }
    Bitmap24 again;
    again.resizeForOverwrite(1001, 700);
    for (int y = 0; y < again.height(); ++y) {
        ASSERT_EQ(again.scanLine(y)[3003], 0xFF) << y;
        ASSERT_EQ(again.scanLine(y)[3002], 0x12) << y;
    }
}

TEST(PixelBuffer, KeepsOnlyAFewBuffers) {
    dropPixelCache();
    const auto makeFive = [] {
        for (int i = 0; i < 5; ++i) {
            Bitmap24 b;
            b.resize(1000 + 1000 * i, 700); // five capacities
        }
    };
    makeFive();
    EXPECT_EQ(cachedPixelBuffers(), 2u);
    setPixelCacheLimit(4); // a batch of two jobs
    makeFive();
    EXPECT_EQ(cachedPixelBuffers(), 4u);
    setPixelCacheLimit(2);
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
