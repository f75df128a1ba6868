// The valid corpus files decode to the same pixels as an independent reader,
// Qt's own image plugins, wherever that reader finds the pixel opaque. Small
// differences are allowed: Qt widens 5-bit channels by shifting (31 -> 248)
// where the program scales them to the full range (31 -> 255).
#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/PictureLoader.h"
#include "platform/Error.h"
#include "Rasterised.h"
#include "support/Corpus.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QImage>
#include <QImageReader>
#include <set>

namespace {

constexpr int kTolerance = 8;

// Files on which Qt's reader is the one that differs from the rules.
const std::set<QString> kQtDiffers = {
    // 16-bit colour keys: the raw samples of pixel (14, 2) of tbbn2c16 are
    // e3e3 e3e3 e3e3 and those of (12, 2) equal the key, but Qt shows the
    // first white and the second grey.
    QStringLiteral("png/pngsuite/tbbn2c16.png"),
    QStringLiteral("png/pngsuite/tbgn2c16.png"),
    // The first frame covers part of the screen only; Qt paints the rest
    // black where the program leaves it white.
    QStringLiteral("gif/gif-test-suite/dispose-restore-background.gif"),
    QStringLiteral("gif/gif-test-suite/high-color.gif"),
};

// The largest difference in one channel over the pixels Qt decodes as
// opaque, or -1 when Qt cannot read the file.
int largestDifference(const tessaly::test::CorpusFile& file, const tessaly::Bitmap24& ours) {
    QImageReader reader(file.path);
    reader.setAutoTransform(true); // the program shows photos upright, as Qt does then
    const QImage theirs = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (theirs.isNull())
        return -1;
    if (theirs.width() != ours.width() || theirs.height() != ours.height())
        return 256;
    int largest = 0;
    for (int y = 0; y < ours.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(theirs.constScanLine(y));
        const uint8_t* mine = ours.scanLine(y);
        for (int x = 0; x < ours.width(); ++x, mine += 3) {
            if (qAlpha(row[x]) != 255)
                continue;
            largest =
                std::max({largest, std::abs(mine[0] - qBlue(row[x])),
                          std::abs(mine[1] - qGreen(row[x])), std::abs(mine[2] - qRed(row[x]))});
        }
    }
    return largest;
}

class ReferenceDecoders : public ::testing::TestWithParam<const char*> {};

TEST_P(ReferenceDecoders, ValidFilesMatchQtsReader) {
    if (tessaly::test::corpusRoot().isEmpty())
        GTEST_SKIP() << "The picture corpus is absent (set TESSALY_CORPUS); nothing checked.";
    int compared = 0;
    for (const auto& file : tessaly::test::corpusFiles(QString::fromLatin1(GetParam()))) {
        if (file.expect != QLatin1String("valid") || kQtDiffers.count(file.relative))
            continue;
        tessaly::Bitmap24 ours;
        try {
            ours = tessaly::test::rasterisedFile(file.path);
        } catch (const tessaly::Error&) {
            continue; // the corpus test holds the files we cannot read
        }
        const int difference = largestDifference(file, ours);
        if (difference < 0)
            continue;
        ++compared;
        EXPECT_LE(difference, kTolerance) << file.relative.toStdString();
    }
    std::printf("%s: %d valid files compared with Qt's reader\n", GetParam(), compared);
    EXPECT_GT(compared, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReferenceDecoders, ::testing::Values("bmp", "png", "jpeg", "gif"));

} // namespace
