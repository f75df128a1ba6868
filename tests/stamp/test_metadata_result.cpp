// Each piece of a photo's metadata made true to its stamped result: what is
// kept, what goes, what a damaged or oversized piece becomes.

#include "MetadataProbe.h"
#include "PhotoFixtures.h"
#include "stamp/metadata/ExifEdit.h"
#include "stamp/metadata/IptcEdit.h"
#include "stamp/metadata/PhotoshopResources.h"
#include "stamp/metadata/RawProfile.h"
#include "stamp/metadata/ResolutionUnits.h"
#include "stamp/metadata/ResultMetadata.h"
#include "stamp/metadata/XmpEdit.h"

#include <gtest/gtest.h>

using namespace tessaly;
using namespace tessaly::test;

TEST(ResultExif, DropsEverythingThatShowsTheUnstampedPicture) {
    const QByteArray withPreview = QByteArray("Nikon\0\x02", 7) + "\xFF\xD8\xFF\xE0 a preview";
    const QByteArray plainNote = QByteArray("QRNL", 4) + QByteArray(20, '\x01');
    struct Case {
        const char* name;
        QByteArray block;
        bool makerNoteKept;
    };
    for (const Case& c : {Case{"a maker note with a JPEG in it", photoExif(6, withPreview), false},
                          Case{"a maker note of data", photoExif(6, plainNote), true}}) {
        const QByteArray result = exifForResult(c.block, QSize(70000, 20));
        Probe p;
        probeExif(result, p);
        EXPECT_EQ(p.orientation, 1) << c.name;
        EXPECT_FALSE(p.thumbnail) << c.name;
        EXPECT_FALSE(result.contains("\xFF\xD8\xFF")) << c.name;
        EXPECT_EQ(p.pixelDimensions, QSize(70000, 20)) << c.name;
        EXPECT_EQ(result.contains(plainNote), c.makerNoteKept) << c.name;
        EXPECT_EQ(p.unknownTag, "private") << c.name;
    }
}

TEST(ResultExif, AddsNoOrientationAndReadsItsResolution) {
    ExifData* d = exif_data_new();
    exif_data_set_byte_order(d, EXIF_BYTE_ORDER_INTEL);
    addEntry(d, EXIF_IFD_0, EXIF_TAG_MAKE, EXIF_FORMAT_ASCII, 4, ascii("Abc"));
    const QByteArray block = savedExif(d);
    Probe p;
    probeExif(exifForResult(block, QSize(5, 5)), p);
    EXPECT_EQ(p.orientation, 0);
    EXPECT_EQ(p.make, QByteArray("Abc", 4));
    EXPECT_FALSE(exifResolution(block));
    EXPECT_EQ(exifResolution(photoExif()), (Resolution{Resolution::Unit::Inch, 300, 300}));
    EXPECT_TRUE(exifForResult(QByteArray("II*\0\xFF\xFF\xFF\x7F", 8), QSize(5, 5)).isEmpty());
    EXPECT_TRUE(exifForResult(QByteArray("not exif"), QSize(5, 5)).isEmpty());
}

TEST(ResultXmp, SetsBothFormsAndRemovesThumbnails) {
    const QSize size(640, 480);
    const QList<QPair<QByteArray, QByteArray>> cases = {
        {"<d tiff:Orientation='8' exif:PixelXDimension = \"1\"/>",
         "<d tiff:Orientation='1' exif:PixelXDimension = \"640\"/>"},
        {"<tiff:ImageLength "
         "rdf:datatype=\"x\">99</tiff:ImageLength><tiff:ImageWidth>7</tiff:ImageWidth>",
         "<tiff:ImageLength "
         "rdf:datatype=\"x\">480</tiff:ImageLength><tiff:ImageWidth>640</tiff:ImageWidth>"},
        {"a<xap:Thumbnails "
         "rdf:parseType='Resource'/>b<xmp:Thumbnails>\n<x>y</x>\n</xmp:Thumbnails>c",
         "abc"},
        {"<mytiff:Orientation>6</mytiff:Orientation> \xFF\xFE bytes of any kind",
         "<mytiff:Orientation>6</mytiff:Orientation> \xFF\xFE bytes of any kind"},
    };
    for (const auto& [packet, expected] : cases)
        EXPECT_EQ(xmpForResult(packet, size), expected) << packet.toStdString();
}

TEST(ResultIptc, KeepsTheDataSetsButThePreview) {
    const QByteArray caption = iptcDataSet(120, "caption");
    const QByteArray extended = QByteArray("\x1C\x02\x78\x80\x02\x00\x03", 7) + "abc";
    const QList<QPair<QByteArray, QByteArray>> cases = {
        {photoIptc(), photoIptcKept()},
        {caption + extended, caption + extended},
        {caption + QByteArray(4, '\0'), caption},              // padding
        {caption + caption.left(6), caption},                  // cut short
        {QByteArray("\x1C\x02\x78\x80\x09", 5) + caption, {}}, // a length of nine bytes
        {iptcDataSet(200, "x") + iptcDataSet(201, "y") + caption, caption},
    };
    for (const auto& [iim, expected] : cases)
        EXPECT_EQ(iptcForResult(iim), expected) << iim.toHex().toStdString();
}

TEST(PhotoshopResources, CarryIptcBothWays) {
    const QByteArray iptc = photoIptc();
    EXPECT_EQ(iptcOfResources(resourcesWithIptc(iptc)), iptc);
    EXPECT_EQ(iptcOfResources(resourcesWithIptc(iptc + 'x')), iptc + 'x'); // odd sizes padded
    const QByteArray other = QByteArray("8BIM\x04\x0C\x03"
                                        "abc\0\0\0\x03xyz\0",
                                        18);
    EXPECT_EQ(iptcOfResources(other + resourcesWithIptc(iptc)), iptc) << "after a named block";
    EXPECT_TRUE(iptcOfResources(resourcesWithIptc(iptc).left(30)).isEmpty());
    EXPECT_TRUE(iptcOfResources(QByteArray("8BIM\x04\x04\xFF", 7) + QByteArray(8, 'x')).isEmpty());
}

TEST(RawProfile, ReadsWhatItWrites) {
    const QByteArray bytes = photoIptc() + QByteArray(100, '\x7F');
    EXPECT_EQ(rawProfileBytes(rawProfileText("iptc", bytes)), bytes);
    for (const char* damaged : {"\niptc\n 4\n0011", "\niptc\n 2\n00zz", "iptc\n 1\n00",
                                "\niptc\n 99999999999\n00", "\niptc"})
        EXPECT_TRUE(rawProfileBytes(damaged).isEmpty()) << damaged;
    EXPECT_EQ(rawProfileBytes("\nexif\n  3\n0a0B\n0c\n"), QByteArray("\x0A\x0B\x0C"));
}

TEST(ResultMetadata, CarriesOnlyRgbProfilesAndWhatFitsAJpeg) {
    const QByteArray p3 = displayP3Profile();
    QByteArray grey = p3;
    grey.replace(16, 4, "GRAY");
    QByteArray cmyk = p3;
    cmyk.replace(16, 4, "CMYK");
    EXPECT_TRUE(isRgbProfile(p3));
    for (const QByteArray& other : {grey, cmyk, p3.left(p3.size() - 1), p3 + 'x', QByteArray()})
        EXPECT_FALSE(isRgbProfile(other));

    PhotoMetadata picture{photoExif(), QByteArray(kMaxJpegXmp + 1, 'x'), {}, cmyk, std::nullopt};
    QStringList notes;
    const PhotoMetadata jpeg = metadataForResult(picture, QSize(3, 2), OutputFormat::Jpeg, notes);
    EXPECT_FALSE(jpeg.exif.isEmpty());
    EXPECT_TRUE(jpeg.xmp.isEmpty());
    EXPECT_TRUE(jpeg.icc.isEmpty());
    EXPECT_EQ(notes.size(), 2) << notes.join('\n').toStdString();
    notes.clear();
    const PhotoMetadata png = metadataForResult(picture, QSize(3, 2), OutputFormat::Png, notes);
    EXPECT_EQ(png.xmp.size(), kMaxJpegXmp + 1) << "PNG has room";
    EXPECT_TRUE(metadataForResult(picture, QSize(3, 2), OutputFormat::Bmp, notes).isEmpty());

    notes.clear();
    const PhotoMetadata large{QByteArray("II*\0", 4) + QByteArray(70000, '\0'), {}, {}, {}, {}};
    EXPECT_TRUE(metadataForResult(large, QSize(3, 2), OutputFormat::Tiff, notes).exif.isEmpty());
    EXPECT_EQ(notes, QStringList("its EXIF data (70004 bytes) is larger than an EXIF block holds "
                                 "and is left out"));
}

TEST(ResolutionUnits, AreWholeNumbersInEachFormatsTerms) {
    using Unit = Resolution::Unit;
    struct Case {
        Resolution in;
        JfifDensity jfif;
        PngPhysical png;
    };
    const QList<Case> cases = {
        {{Unit::Inch, 300, 300}, {1, 300, 300}, {1, 11811, 11811}},
        {{Unit::Centimetre, 28.35, 28.35}, {1, 72, 72}, {1, 2835, 2835}}, // 72 dpi in metres
        {{Unit::Centimetre, 40, 20}, {2, 40, 20}, {1, 4000, 2000}},
        {{Unit::None, 2, 1}, {0, 2, 1}, {0, 2, 1}},
        {{Unit::None, 131070, 1000}, {0, 65535, 500}, {0, 131070, 1000}},
        {{Unit::Inch, 0.2, 1e9}, {1, 1, 65535}, {1, 8, 2147483647}},
    };
    for (const Case& c : cases) {
        const JfifDensity j = jfifDensity(c.in);
        const PngPhysical p = pngPhysical(c.in);
        EXPECT_EQ(std::tuple(j.unit, j.x, j.y), std::tuple(c.jfif.unit, c.jfif.x, c.jfif.y))
            << c.in.x;
        EXPECT_EQ(std::tuple(p.unit, p.x, p.y), std::tuple(c.png.unit, c.png.x, c.png.y)) << c.in.x;
    }
}
