// Pictures written by the programs people use (ImageMagick, GraphicsMagick,
// Pillow, libvips, netpbm, libjpeg-turbo, libtiff's tools) decode to the
// pixels that each program's own decoder shows, within the kind's tolerance.
// scripts/make-fixtures.sh writes them, with those references, from the
// project's own source pictures; fixtures/real/KIND/manifest.tsv lists them.
#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/Bitmap24.h"
#include "platform/Error.h"
#include "Rasterised.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>

namespace {

struct RealFixture {
    QString path;
    QString reference;
    int tolerance = 0;
    QString note;
};

QString fixtureFolder(const QString& kind) {
    return QStringLiteral(TESSALY_FIXTURES "/real/") + kind;
}

std::vector<RealFixture> manifest(const QString& kind) {
    std::vector<RealFixture> rows;
    const QDir folder(fixtureFolder(kind));
    QFile file(folder.filePath(QStringLiteral("manifest.tsv")));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split(QLatin1Char('\t'));
        if (cells.size() < 4)
            continue;
        rows.push_back({folder.filePath(cells[0]), folder.filePath(cells[1]), cells[2].toInt(),
                        cells[3]});
    }
    return rows;
}

using tessaly::test::rasterisedFile;

// Empty when every byte is within the tolerance, else where it is not.
std::string difference(const tessaly::Bitmap24& ours, const QImage& theirs, int tolerance) {
    if (ours.width() != theirs.width() || ours.height() != theirs.height())
        return "size " + std::to_string(ours.width()) + " x " + std::to_string(ours.height()) +
               ", the reference is " + std::to_string(theirs.width()) + " x " +
               std::to_string(theirs.height());
    int worst = 0, worstX = 0, worstY = 0;
    for (int y = 0; y < ours.height(); ++y) {
        const uint8_t* row = ours.scanLine(y);
        const uint8_t* ref = theirs.constScanLine(y);
        for (int x = 0; x < ours.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(int(row[3 * x + c]) - int(ref[3 * x + 2 - c]));
                if (d > worst)
                    worst = d, worstX = x, worstY = y;
            }
        }
    }
    if (worst <= tolerance)
        return {};
    return "a byte differs by " + std::to_string(worst) + " at (" + std::to_string(worstX) +
           ", " + std::to_string(worstY) + ")";
}

class RealWorldFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(RealWorldFiles, DecodeAsTheirWritersShowThem) {
    const QString kind = QString::fromLatin1(GetParam());
    const auto rows = manifest(kind);
    ASSERT_FALSE(rows.empty()) << "no fixtures listed in " << qPrintable(fixtureFolder(kind))
                               << " (scripts/make-fixtures.sh writes them)";
    for (const RealFixture& row : rows) {
        SCOPED_TRACE(qPrintable(QFileInfo(row.path).fileName() + QStringLiteral(": ") + row.note));
        const QImage reference = QImage(row.reference).convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(reference.isNull()) << "unreadable reference " << qPrintable(row.reference);
        try {
            EXPECT_EQ(difference(rasterisedFile(row.path), reference, row.tolerance), "");
        } catch (const tessaly::Error& e) {
            ADD_FAILURE() << "refused: " << qPrintable(e.message());
        }
    }
}

// One photo stored in each of the eight EXIF orientations: every file shows
// the same upright picture at the same size, whatever its stored rows.
TEST(RealWorldOrientation, EveryOrientationShowsTheSameUprightPhoto) {
    const QString folder = fixtureFolder(QStringLiteral("jpeg"));
    const tessaly::Bitmap24 upright = rasterisedFile(folder + QStringLiteral("/orientation-1.jpg"));
    ASSERT_EQ(upright.width(), 48);
    ASSERT_EQ(upright.height(), 32);
    QImage expected(upright.width(), upright.height(), QImage::Format_RGB888);
    for (int y = 0; y < upright.height(); ++y)
        for (int x = 0; x < upright.width(); ++x) {
            const uint8_t* p = upright.scanLine(y) + 3 * x;
            expected.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    for (int o = 2; o <= 8; ++o) {
        SCOPED_TRACE(o);
        // The stored rows were compressed turned, so the JPEG's losses differ
        // a little from those of the upright file.
        EXPECT_EQ(difference(rasterisedFile(folder + QStringLiteral("/orientation-%1.jpg").arg(o)),
                             expected, 6),
                  "");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RealWorldFiles,
                         ::testing::Values("bmp", "ico", "jpeg", "png", "gif", "tiff"));

} // namespace
