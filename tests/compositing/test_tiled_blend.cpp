#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/TiledBlend.h"
#include "platform/Error.h"
#include "RandomBitmap.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

using namespace tessaly;
using tessaly::test::randomBitmap;
using tessaly::test::sameBytes;
using tessaly::test::setPixel;

namespace {

// The blend as the main window's loop does it: one AlphaBlendTile per grid
// position, the last column and row included.
void referenceLoop(Bitmap24& base, const Bitmap24& mark, int alpha) {
    const int cols = base.width() / mark.width(), rows = base.height() / mark.height();
    for (int i = 0; i <= cols; ++i)
        for (int k = 0; k <= rows; ++k)
            AlphaBlendTile(base, mark, i * mark.width(), k * mark.height(), alpha);
}

struct Grid {
    int baseWidth, baseHeight, markWidth, markHeight;
};

class TiledBlendGrid : public ::testing::TestWithParam<Grid> {};

std::string gridName(const ::testing::TestParamInfo<Grid>& info) {
    const Grid& g = info.param;
    return std::to_string(g.baseWidth) + "x" + std::to_string(g.baseHeight) + "_by_" +
           std::to_string(g.markWidth) + "x" + std::to_string(g.markHeight);
}

} // namespace

TEST_P(TiledBlendGrid, GivesTheBytesOfTheTileLoop) {
    const Grid g = GetParam();
    for (int alpha : {0, 125, 250}) {
        const Bitmap24 base = randomBitmap(g.baseWidth, g.baseHeight, 7);
        Bitmap24 mark = randomBitmap(g.markWidth, g.markHeight, 8);
        // Plant the key colour (the bottom-left pixel) elsewhere in the tile.
        std::memcpy(mark.scanLine(0), mark.bits(), 3);
        mark.setColourKeyed(true);
        Bitmap24 expected = base, actual = base;
        referenceLoop(expected, mark, alpha);
        blendTiles(actual, mark, alpha);
        ASSERT_TRUE(sameBytes(expected, actual)) << "A=" << alpha;
        ASSERT_FALSE(sameBytes(base, actual)) << "nothing blended";
        // In bands of rows of their own that cut across the tiles, as a batch
        // blends rows while they are decoded: the same bytes.
        PreparedWatermark prepared(mark, g.baseWidth, alpha);
        for (int y = 0; y < g.baseHeight; y += 7) {
            const int rows = std::min(7, g.baseHeight - y);
            Bitmap24 band;
            band.resize(g.baseWidth, rows);
            for (int r = 0; r < rows; ++r)
                std::memcpy(band.scanLine(r), base.scanLine(y + r), base.rowSize());
            blendTileBand(band, prepared, y);
            for (int r = 0; r < rows; ++r)
                ASSERT_EQ(0,
                          std::memcmp(band.scanLine(r), expected.scanLine(y + r), base.rowSize()))
                    << "band row " << y + r << ", A=" << alpha;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TiledBlendGrid,
                         ::testing::Values(Grid{800, 600, 100, 100}, // whole tiles only
                                           Grid{801, 601, 100, 100}, // a 1-pixel last column/row
                                           Grid{37, 23, 2, 2}, Grid{37, 23, 5, 22},
                                           Grid{37, 23, 36, 3}, Grid{61, 9, 7, 1},
                                           Grid{1201, 901, 97, 61}, Grid{1201, 901, 5, 900},
                                           Grid{1201, 901, 600, 300}), // rows not kept
                         gridName);

TEST(TiledBlend, UnkeyedWatermarkBlendsItsBottomLeftColourToo) {
    const Bitmap24 base = randomBitmap(9, 7, 9);
    const Bitmap24 mark = randomBitmap(4, 3, 10);
    Bitmap24 expected = base, actual = base;
    referenceLoop(expected, mark, 0);
    blendTiles(actual, mark, 0);
    EXPECT_TRUE(sameBytes(expected, actual));
    EXPECT_EQ(0, std::memcmp(actual.scanLine(2), mark.scanLine(2), 3));
}

TEST(TiledBlend, OnePixelWatermarkIsItsOwnKey) {
    const Bitmap24 base = randomBitmap(2, 2, 11);
    Bitmap24 mark;
    mark.resize(1, 1);
    setPixel(mark, 0, 0, 1, 2, 3);
    mark.setColourKeyed(true);
    Bitmap24 actual = base;
    blendTiles(actual, mark, 125);
    EXPECT_TRUE(sameBytes(base, actual));
}

TEST(TiledBlend, EmptyWatermarkChangesNothing) {
    const Bitmap24 base = randomBitmap(5, 5, 12);
    Bitmap24 actual = base;
    for (QSize size : {QSize(0, 3), QSize(3, 0), QSize(0, 0)}) {
        Bitmap24 mark;
        mark.resize(size.width(), size.height());
        blendTiles(actual, mark, 0);
        EXPECT_TRUE(sameBytes(base, actual));
    }
}

TEST(TiledBlend, RefusesOtherDepthsBeforeTouchingTheBase) {
    Bitmap24 base = randomBitmap(8, 8, 13);
    const Bitmap24 before = base;
    try {
        blendTiles(base, Bitmap24::withDepth(32, 2, 2), 0);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Bitmaps must be 24 bit");
    }
    EXPECT_TRUE(sameBytes(base, before));
}

TEST(TiledBlend, WatermarkMustBeStrictlySmallerBothWays) {
    struct Case {
        QSize base, mark;
        bool fits;
    };
    const Case cases[] = {
        {{800, 600}, {100, 100}, true},  {{100, 300}, {100, 50}, false},
        {{300, 100}, {50, 100}, false},  {{2, 2}, {1, 1}, true},
        {{100, 100}, {100, 100}, false}, {{100, 100}, {120, 50}, false},
        {{1, 1}, {0, 0}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(watermarkFits(c.base, c.mark), c.fits)
            << c.base.width() << "x" << c.base.height() << " / " << c.mark.width() << "x"
            << c.mark.height();
}
