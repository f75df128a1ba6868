// A photo straight from a camera, stamped to JPEG, PNG and TIFF: the result
// stands upright and says so, shows no thumbnail of the unstamped photo,
// keeps its colour profile byte for byte and the photo's other metadata;
// --strip leaves none of it.

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "MetadataProbe.h"
#include "PhotoFixtures.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::test;

namespace {

struct Format {
    const char* name;
    const char* extension;
    Probe (*probe)(const QByteArray&);
    double tolerance;      // the mean pixel byte difference: JPEG is lossy
    bool interoperability; // whether the probe can see that directory
    int ownOrientation;    // what the format states without any metadata
    QStringList extra;     // JPEG: as close to the pixels as it comes
};

void PrintTo(const Format& f, std::ostream* os) {
    *os << f.name;
}

class Carried : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        writePicture(dir_.filePath("logo.png"), 9, 7, 3);
        writeFile(dir_.filePath("photo.jpg"), photoJpeg());
    }
    // Stamps photo.jpg into the given output with the extra arguments.
    QByteArray stamped(const QString& output, const QStringList& extra = {}) {
        const StampRun run =
            runStamp(dir_.path(), QStringList{"-w", "logo.png", "-o", output, "photo.jpg"} + extra);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        return readFile(dir_.filePath(output));
    }
    QTemporaryDir dir_;
};

double meanDifference(const Bitmap24& a, const Bitmap24& b) {
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x)
            total += std::abs(int(a.scanLine(y)[x]) - int(b.scanLine(y)[x]));
    return total / (a.width() * a.height() * 3);
}

} // namespace

TEST_P(Carried, IsUprightAndTrueToTheResult) {
    const Format f = GetParam();
    const QString output = QStringLiteral("r.") + f.extension;
    const Probe p = f.probe(stamped(output, f.extra));
    const QSize upright = kStored.transposed();
    EXPECT_EQ(p.size, upright);
    EXPECT_EQ(p.orientation, 1);
    EXPECT_FALSE(p.thumbnail);
    EXPECT_EQ(p.pixelDimensions, upright);
    EXPECT_EQ(p.icc, displayP3Profile());
    EXPECT_EQ(p.iptc, photoIptcKept()) << "all but the object preview";
    EXPECT_EQ(p.dpi, 300) << "the EXIF resolution, in the container's own terms";
    // The XMP packet says the same, and its thumbnail is gone.
    EXPECT_TRUE(p.xmp.contains("tiff:Orientation=\"1\"")) << p.xmp.toStdString();
    EXPECT_TRUE(p.xmp.contains("exif:PixelXDimension=\"32\""));
    EXPECT_TRUE(p.xmp.contains("<exif:PixelYDimension>48</exif:PixelYDimension>"));
    EXPECT_FALSE(p.xmp.contains("Thumbnails"));
    EXPECT_TRUE(p.xmp.contains("<rdf:li>Quarnel Photographer</rdf:li>"));
    // The other tags, the unknown one too.
    EXPECT_EQ(p.make, QByteArray(kMake, sizeof kMake));
    EXPECT_EQ(p.model, QByteArray(kModel, sizeof kModel));
    EXPECT_EQ(p.takenAt, QByteArray(kTakenAt, sizeof kTakenAt));
    EXPECT_NEAR(p.exposure, 1.0 / 125, 1e-9);
    EXPECT_EQ(p.latitude, (std::vector<double>{51, 30, 12.5}));
    EXPECT_EQ(p.unknownTag, "private");
    if (f.interoperability)
        EXPECT_EQ(p.interoperability, QByteArray("R98", 4));
    // The pixels are the window's blend of the upright photo.
    const Bitmap24 expected =
        composeResult(*loadPicture(dir_.filePath("photo.jpg")),
                      rasterisedWatermark(*loadPicture(dir_.filePath("logo.png"))), 125);
    const Bitmap24 written = rasterisedPicture(*loadPicture(dir_.filePath(output)));
    ASSERT_EQ(QSize(written.width(), written.height()), upright);
    EXPECT_LE(meanDifference(expected, written), f.tolerance);
}

TEST_P(Carried, StripLeavesNoMetadata) {
    const Format f = GetParam();
    const Probe p = f.probe(stamped(QStringLiteral("s.") + f.extension, {"--strip"}));
    EXPECT_EQ(p.size, kStored.transposed());
    EXPECT_EQ(p.orientation, f.ownOrientation);
    EXPECT_TRUE(p.icc.isEmpty() && p.xmp.isEmpty() && p.iptc.isEmpty());
    EXPECT_TRUE(p.make.isEmpty() && p.takenAt.isEmpty() && p.latitude.empty());
    EXPECT_FALSE(p.thumbnail);
    EXPECT_EQ(p.dpi, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Carried,
    ::testing::Values(
        Format{"jpeg", "jpg", probeJpeg, 2, true, 0, {"--quality", "100", "--sampling", "444"}},
        Format{"png", "png", probePng, 0, true, 0, {}},
        Format{"tiff", "tif", probeTiff, 0, false, 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });
