// The BMP that tessaly-stamp writes is the window's saved file, byte for byte:
// the shared composition saved with saveBmp, and a reference made the plain
// way, one AlphaBlendTile per grid position.

#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "StampFixtures.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::test;

namespace {

struct Pair {
    const char* base;
    int baseWidth, baseHeight;
    const char* mark;
    int markWidth, markHeight;
    int alpha;
    unsigned baseSeed = 11; // an odd seed gives a PNG transparency
};

// The window's run spelled out: both pictures rasterised onto white bitmaps
// of their natural sizes, the watermark keyed, the tile loop of the window.
QByteArray referenceFile(const QString& basePath, const QString& markPath, int alpha) {
    const auto base = loadPicture(basePath), mark = loadPicture(markPath);
    Bitmap24 b, m;
    b.resize(base->naturalSize().width(), base->naturalSize().height());
    base->rasterise(b);
    m.resize(mark->naturalSize().width(), mark->naturalSize().height());
    mark->rasterise(m);
    m.setColourKeyed(true);
    for (int i = 0; i <= b.width() / m.width(); ++i)
        for (int k = 0; k <= b.height() / m.height(); ++k)
            AlphaBlendTile(b, m, i * m.width(), k * m.height(), alpha);
    return bmpBytes(b);
}

class StampedBmp : public ::testing::TestWithParam<Pair> {};

} // namespace

TEST_P(StampedBmp, IsTheWindowsSavedFile) {
    const Pair p = GetParam();
    QTemporaryDir dir;
    const QString base = dir.filePath(QString::fromLatin1(p.base));
    const QString mark = dir.filePath(QString::fromLatin1(p.mark));
    writePicture(base, p.baseWidth, p.baseHeight, p.baseSeed);
    writePicture(mark, p.markWidth, p.markHeight, 12);

    const StampRun run = runStamp(dir.path(), {"-w", mark, "-t", QString::number(p.alpha), base,
                                               "-o", dir.filePath("out.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray stamped = readFile(dir.filePath("out.bmp"));

    saveBmp(composeResult(*loadPicture(base), *loadPicture(mark), p.alpha),
            dir.filePath("window.bmp"));
    EXPECT_EQ(stamped, readFile(dir.filePath("window.bmp")));
    EXPECT_EQ(stamped, referenceFile(base, mark, p.alpha));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, StampedBmp,
    ::testing::Values(Pair{"a.png", 97, 61, "m.png", 10, 7, 125},    // odd sizes, alpha watermark
                      Pair{"a.jpg", 120, 80, "m.gif", 30, 20, 0},    // whole tiles, transparent GIF
                      Pair{"a.bmp", 101, 41, "m.bmp", 100, 40, 250}, // a 1-pixel last column/row
                      Pair{"a.gif", 50, 50, "m.jpg", 7, 49, 128},
                      Pair{"a.png", 64, 48, "m.png", 1, 1, 125}, // the one pixel is the key
                      // written while decoded, in bands across tiles; padded rows
                      Pair{"a.jpg", 301, 197, "m.png", 40, 30, 125},
                      Pair{"a.png", 130, 150, "m.png", 20, 15, 125, 12},
                      // many bands, each cut across the tiles' rows
                      Pair{"a.jpg", 3001, 400, "m.png", 40, 33, 125},
                      Pair{"a.png", 2999, 300, "m.gif", 41, 7, 125, 12},
                      Pair{"a.jpg", 3001, 400, "m.bmp", 1500, 290, 60})); // rows not kept

TEST(Composition, RefusesAWatermarkThatIsNotSmaller) {
    QTemporaryDir dir;
    writePicture(dir.filePath("a.bmp"), 100, 300, 1);
    writePicture(dir.filePath("m.bmp"), 100, 50, 2);
    EXPECT_THROW(composeResult(*loadPicture(dir.filePath("a.bmp")),
                               *loadPicture(dir.filePath("m.bmp")), 125),
                 WatermarkTooLarge);
    try {
        requireWatermarkFits(QSize(100, 300), QSize(99, 300));
        FAIL() << "an equal height was accepted";
    } catch (const WatermarkTooLarge& e) {
        EXPECT_EQ(e.message(), "Watermark image dimensions must be smaller!");
    }
}
