// PNG, TIFF and JPEG results hold the result's pixels: read back through the
// program's own loader, PNG and TIFF give the same bytes, JPEG nearly so.

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "MetadataProbe.h"
#include "stamp/ResultWriter.h"
#include "StampFixtures.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::test;

namespace {

// The largest and the mean difference of the pixel bytes.
std::pair<int, double> difference(const Bitmap24& a, const Bitmap24& b) {
    int most = 0;
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x) {
            const int d = std::abs(int(a.scanLine(y)[x]) - int(b.scanLine(y)[x]));
            most = std::max(most, d);
            total += d;
        }
    return {most, total / (double(a.width()) * a.height() * 3)};
}

} // namespace

TEST(ResultWriter, WritesThePixelsInEveryFormat) {
    QTemporaryDir dir;
    const Bitmap24 result = photoBitmap(123, 77, 5); // a width whose rows are padded
    struct Case {
        const char* name;
        OutputFormat format;
        int most;    // the largest byte difference allowed
        double mean; // and the largest mean difference
    };
    for (const Case& c :
         {Case{"r.png", OutputFormat::Png, 0, 0}, Case{"r.tif", OutputFormat::Tiff, 0, 0},
          Case{"r.bmp", OutputFormat::Bmp, 0, 0}, Case{"r.jpg", OutputFormat::Jpeg, 40, 5}}) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        writeResult(result, path, c.format, {}, {});
        const Bitmap24 back = rasterisedPicture(*loadPicture(path));
        ASSERT_EQ(back.width(), result.width()) << c.name;
        ASSERT_EQ(back.height(), result.height()) << c.name;
        const auto [most, mean] = difference(result, back);
        EXPECT_LE(most, c.most) << c.name;
        EXPECT_LE(mean, c.mean) << c.name;
    }
    EXPECT_EQ(filesIn(dir.path()), QStringList({"r.bmp", "r.jpg", "r.png", "r.tif"}));
}

TEST(ResultWriter, LeavesNoFileWhenItCannotWrite) {
    QTemporaryDir dir;
    const Bitmap24 result = photoBitmap(8, 8, 5);
    for (OutputFormat f : {OutputFormat::Png, OutputFormat::Jpeg, OutputFormat::Tiff})
        EXPECT_THROW(writeResult(result, dir.filePath("missing/r"), f, {}, {}), Error);
    PhotoMetadata oversized;
    oversized.exif = QByteArray(70000, 'x'); // larger than one JPEG segment
    EXPECT_THROW(writeResult(result, dir.filePath("r.jpg"), OutputFormat::Jpeg, {}, oversized),
                 Error);
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
}

TEST(JpegWriter, SamplesColourAsAsked) {
    const Bitmap24 result = photoBitmap(32, 16, 5);
    struct Case {
        ChromaSampling sampling;
        int h, v; // the luma component's factors over the chroma components' 1 x 1
    };
    for (const Case& c : {Case{ChromaSampling::Full444, 1, 1}, Case{ChromaSampling::Half422, 2, 1},
                          Case{ChromaSampling::Quarter420, 2, 2}}) {
        readJpegHeader(
            encodeJpeg(result, {80, c.sampling}, {}), [&](jpeg_decompress_struct& cinfo) {
                EXPECT_EQ(cinfo.comp_info[0].h_samp_factor, c.h);
                EXPECT_EQ(cinfo.comp_info[0].v_samp_factor, c.v);
                EXPECT_EQ(cinfo.comp_info[1].h_samp_factor * cinfo.comp_info[1].v_samp_factor, 1);
            });
    }
}
