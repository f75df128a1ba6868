#include "compositing/blend/AlphaBlendTile.h"
#include "platform/Error.h"
#include "RandomBitmap.h"

#include <gtest/gtest.h>

using namespace tessaly;
using tessaly::test::randomBitmap;
using tessaly::test::sameBytes;
using tessaly::test::setPixel;

namespace {

uint8_t blendByte(int alpha, uint8_t d, uint8_t s) {
    Bitmap24 dest, src;
    dest.resize(1, 1);
    src.resize(1, 1);
    setPixel(dest, 0, 0, d, d, d);
    setPixel(src, 0, 0, s, s, s);
    EXPECT_TRUE(AlphaBlendTile(dest, src, 0, 0, alpha));
    return dest.bits()[0];
}

} // namespace

TEST(AlphaBlendTile, MixesByWeight) {
    struct Case {
        int alpha, d, s, expected;
    };
    const Case cases[] = {
        {125, 200, 100, 148}, {125, 100, 200, 151}, {250, 0, 255, 5},   {250, 255, 0, 249},
        {0, 200, 17, 17},     {0, 0, 255, 255},     {128, 0, 255, 127}, {256, 77, 200, 77},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blendByte(c.alpha, uint8_t(c.d), uint8_t(c.s)), c.expected)
            << "A=" << c.alpha << " D=" << c.d << " S=" << c.s;
}

TEST(AlphaBlendTile, SkipsKeyPixelsOnlyWhenAllThreeBytesMatch) {
    Bitmap24 dest = randomBitmap(3, 2, 1);
    const Bitmap24 before = dest;
    Bitmap24 src;
    src.resize(3, 2);
    setPixel(src, 0, 1, 10, 20, 30); // bottom-left: the key
    setPixel(src, 1, 1, 10, 20, 31); // one byte off: blended
    setPixel(src, 2, 0, 10, 20, 30); // the key elsewhere: skipped
    src.setColourKeyed(true);
    ASSERT_TRUE(AlphaBlendTile(dest, src, 0, 0, 0));
    EXPECT_EQ(0, std::memcmp(dest.scanLine(1), before.scanLine(1), 3));
    EXPECT_EQ(0, std::memcmp(dest.scanLine(1) + 3, src.scanLine(1) + 3, 3));
    EXPECT_EQ(0, std::memcmp(dest.scanLine(0) + 6, before.scanLine(0) + 6, 3));
    EXPECT_EQ(0, std::memcmp(dest.scanLine(0), src.scanLine(0), 6)); // white, not the key

    src.setColourKeyed(false);
    dest = before;
    ASSERT_TRUE(AlphaBlendTile(dest, src, 0, 0, 0));
    EXPECT_EQ(0, std::memcmp(dest.scanLine(1), src.scanLine(1), 9));
}

// A tile is clipped to Dest with inclusive bounds: the pixels under it change,
// all others and the row padding stay.
TEST(AlphaBlendTile, ClipsTheTileToDest) {
    struct Case {
        int x, y;
        bool overlaps;
    };
    const Case cases[] = {
        {0, 0, true},           {4, 2, true},           {-2, -1, true},
        {6, 0, true},           {0, 4, true},           {7, 0, false},
        {0, 5, false},          {-3, 0, false},         {0, -2, false},
        {2147483647, 0, false}, {0, 2147483647, false}, {-2147483647 - 1, 0, false}};
    const Bitmap24 src = randomBitmap(3, 2, 2);
    for (const Case& c : cases) {
        Bitmap24 dest = randomBitmap(7, 5, 3);
        const Bitmap24 before = dest;
        EXPECT_EQ(AlphaBlendTile(dest, src, c.x, c.y, 0), c.overlaps) << c.x << "," << c.y;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                const int64_t tx = int64_t(x) - c.x, ty = int64_t(y) - c.y;
                const bool under = tx >= 0 && tx < 3 && ty >= 0 && ty < 2;
                const uint8_t* expected =
                    under ? src.scanLine(int(ty)) + tx * 3 : before.scanLine(y) + x * 3;
                EXPECT_EQ(0, std::memcmp(dest.scanLine(y) + x * 3, expected, 3))
                    << "tile at " << c.x << "," << c.y << " pixel " << x << "," << y;
            }
            EXPECT_EQ(dest.scanLine(y)[21], before.scanLine(y)[21]) << "padding";
        }
    }
}

TEST(AlphaBlendTile, RefusesOtherDepthsBeforeTouchingDest) {
    const Bitmap24 src24 = randomBitmap(2, 2, 4);
    for (int depth : {32, 8, 1}) {
        Bitmap24 dest = randomBitmap(4, 4, 5);
        const Bitmap24 before = dest;
        const Bitmap24 other = Bitmap24::withDepth(depth, 2, 2);
        Bitmap24 otherDest = Bitmap24::withDepth(depth, 4, 4);
        try {
            AlphaBlendTile(dest, other, 0, 0, 0);
            ADD_FAILURE() << "no error for a " << depth << "-bit source";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), "Bitmaps must be 24 bit");
        }
        EXPECT_TRUE(sameBytes(dest, before));
        // Even a tile that would miss Dest is refused: the check comes first.
        EXPECT_THROW(AlphaBlendTile(otherDest, src24, 100, 100, 0), Error);
    }
}
