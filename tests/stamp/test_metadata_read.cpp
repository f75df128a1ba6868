// Metadata read from the bytes of JPEG, PNG and TIFF files, wherever each
// container keeps it; damaged containers give what is whole and never a read
// outside the file.

#include "MetadataProbe.h"
#include "PhotoFixtures.h"
#include "stamp/metadata/MetadataReader.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace tessaly;
using namespace tessaly::test;

namespace {

// A real JPEG (of no metadata) with the segments put in after its JFIF header.
QByteArray jpegWith(const QByteArray& segments) {
    const QByteArray plain = encodeJpeg(photoBitmap(8, 8, 1), {}, {});
    const int jfifEnd = 4 + (uint8_t(plain[4]) << 8 | uint8_t(plain[5]));
    return plain.left(jfifEnd) + segments + plain.mid(jfifEnd);
}

QByteArray segment(int marker, const QByteArray& payload) {
    return QByteArray("\xFF") + char(marker) + bigEndian(uint32_t(payload.size()) + 2, 2) + payload;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type) + data;
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(body.constData()),
                            uInt(body.size()));
    return bigEndian(uint32_t(data.size()), 4) + body + bigEndian(uint32_t(crc), 4);
}

QByteArray deflated(const QByteArray& data) {
    return qCompress(data).mid(4); // Qt's zlib stream, without its length prefix
}

// A real PNG (of no metadata) with chunks put in before and after its image data.
QByteArray pngWith(const QByteArray& before, const QByteArray& after = {}) {
    const QByteArray plain = randomPng(4, 3, false, 1);
    const qsizetype iend = plain.size() - 12;
    return plain.left(33) + before + plain.mid(33, iend - 33) + after + plain.mid(iend);
}

QByteArray rawProfileChunk(const char* type, const char* name, const QByteArray& bytes) {
    const QByteArray text = QByteArray("\n") + name + "\n" +
                            QByteArray::number(bytes.size()).rightJustified(8) + "\n" +
                            bytes.toHex() + "\n";
    const QByteArray keyword = QByteArray("Raw profile type ") + name + '\0';
    return chunk(type,
                 QByteArray(type) == "zTXt" ? keyword + '\0' + deflated(text) : keyword + text);
}

QByteArray standardPngChunks() {
    return chunk("eXIf", photoExif()) +
           chunk("iCCP", QByteArray("ICC profile\0\0", 13) + deflated(displayP3Profile())) +
           chunk("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0", 22) + photoXmp()) +
           rawProfileChunk("zTXt", "iptc", photoIptc()) +
           chunk("pHYs", bigEndian(11811, 4) + bigEndian(11811, 4) + '\1');
}

// A TIFF written by libtiff with every piece of metadata it holds.
QByteArray photoTiff(const char* mode) {
    QTemporaryFile file;
    if (!file.open())
        return {};
    TIFF* tif = TIFFOpen(QFile::encodeName(file.fileName()).constData(), mode);
    uint64_t exifAt = 0;
    TIFFCreateEXIFDirectory(tif);
    TIFFSetField(tif, EXIFTAG_DATETIMEORIGINAL, kTakenAt);
    TIFFSetField(tif, EXIFTAG_EXPOSURETIME, 1.0 / 125);
    TIFFWriteCustomDirectory(tif, &exifAt);
    TIFFFreeDirectory(tif);
    TIFFCreateDirectory(tif);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 4);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_MAKE, kMake);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    const QByteArray icc = displayP3Profile(), xmp = photoXmp(), iptc = photoIptc();
    TIFFSetField(tif, TIFFTAG_ICCPROFILE, uint32_t(icc.size()), icc.constData());
    TIFFSetField(tif, TIFFTAG_XMLPACKET, uint32_t(xmp.size()), xmp.constData());
    TIFFSetField(tif, TIFFTAG_RICHTIFFIPTC, uint32_t(iptc.size()), iptc.constData());
    TIFFSetField(tif, TIFFTAG_EXIFIFD, exifAt);
    const QByteArray row(12, '\x40');
    for (uint32_t y = 0; y < 2; ++y)
        TIFFWriteScanline(tif, const_cast<char*>(row.constData()), y, 0);
    TIFFClose(tif);
    return readFile(file.fileName());
}

struct Case {
    const char* name;
    QByteArray file;
    PhotoMetadata expected;
};

PhotoMetadata photoMetadata(std::optional<Resolution> resolution = std::nullopt) {
    return {photoExif(), photoXmp(), photoIptc(), displayP3Profile(), resolution};
}

std::vector<Case> containerCases() {
    const QByteArray exif = segment(0xE1, QByteArray("Exif\0\0", 6) + photoExif());
    const QByteArray xmp =
        segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + photoXmp());
    const QByteArray resources = photoshopResources(photoIptc());
    const QByteArray largeIcc = QByteArray(150000, 'p');
    const Resolution perCm{Resolution::Unit::Centimetre, 118.11, 118.11};
    PhotoSpec jfif;
    jfif.jfif = true;
    jfif.icc = largeIcc; // in three APP2 segments
    return {
        {"camera.jpg", photoJpeg(), photoMetadata()},
        {"jfif-and-large-icc.jpg",
         photoJpeg(jfif),
         {photoExif(), photoXmp(), photoIptc(), largeIcc, std::nullopt}},
        {"xmp-first-iptc-split.jpg",
         jpegWith(xmp + exif +
                  segment(0xED, QByteArray("Photoshop 3.0\0", 14) + resources.left(20)) +
                  segment(0xED, QByteArray("Photoshop 3.0\0", 14) + resources.mid(20))),
         {photoExif(), photoXmp(), photoIptc(), {}, std::nullopt}},
        {"cut-in-its-header.jpg", photoJpeg().left(200), {}},
        {"standard.png", pngWith(standardPngChunks()), photoMetadata(perCm)},
        {"after-the-image.png", pngWith({}, standardPngChunks()), photoMetadata(perCm)},
        {"raw-profiles.png",
         pngWith(rawProfileChunk("tEXt", "exif", QByteArray("Exif\0\0", 6) + photoExif()) +
                 rawProfileChunk("zTXt", "xmp", photoXmp()) +
                 rawProfileChunk("zTXt", "8bim", resources) +
                 rawProfileChunk("tEXt", "icc", displayP3Profile())),
         photoMetadata()},
        {"standard-before-raw.png",
         pngWith(rawProfileChunk("zTXt", "xmp", "older") + standardPngChunks()),
         photoMetadata(perCm)},
        {"damaged.png",
         pngWith(chunk("iCCP", QByteArray("ICC profile\0\0", 13) + "not zlib") +
                 chunk("zTXt",
                       QByteArray("Raw profile type iptc\0\0", 23) + deflated("\niptc\n 9\nzz")) +
                 chunk("pHYs", QByteArray(9, '\0')) + bigEndian(0x7FFFFFF0, 4) + "eXIf"),
         {}},
        {"not-a-container.bmp", bmpBytes(photoBitmap(2, 2, 1)), {}},
    };
}

} // namespace

TEST(MetadataReader, FindsEachPieceWhereItsContainerKeepsIt) {
    for (const Case& c : containerCases()) {
        const PhotoMetadata m = readPhotoMetadata(c.file);
        EXPECT_EQ(m.exif, c.expected.exif) << c.name;
        EXPECT_EQ(m.xmp, c.expected.xmp) << c.name;
        EXPECT_EQ(m.iptc, c.expected.iptc) << c.name;
        EXPECT_EQ(m.icc, c.expected.icc) << c.name;
        EXPECT_EQ(m.resolution.has_value(), c.expected.resolution.has_value()) << c.name;
        if (m.resolution && c.expected.resolution) {
            EXPECT_EQ(m.resolution->unit, c.expected.resolution->unit) << c.name;
            EXPECT_NEAR(m.resolution->x, c.expected.resolution->x, 1e-9) << c.name;
        }
    }
}

TEST(MetadataReader, ReadsJfifDensity) {
    PhotoSpec s{{}, {}, {}, {}, true};
    for (const auto& [unit, x, y, expected] :
         {std::tuple{1, 72, 72, std::optional(Resolution{Resolution::Unit::Inch, 72, 72})},
          std::tuple{2, 40, 20, std::optional(Resolution{Resolution::Unit::Centimetre, 40, 20})},
          std::tuple{0, 1, 1, std::optional<Resolution>()}}) {
        QByteArray file = photoJpeg(s);
        // The JFIF header's units and densities, right after its version.
        file[13] = char(unit);
        file.replace(14, 4, bigEndian(uint32_t(x), 2) + bigEndian(uint32_t(y), 2));
        EXPECT_EQ(readPhotoMetadata(file).resolution, expected) << unit;
    }
}

// TIFF's tags in either byte order: the EXIF directory becomes an EXIF block
// with the first directory's descriptive tags.
TEST(MetadataReader, ReadsTiffTagsAndItsExifDirectory) {
    for (const char* mode : {"wl", "wb"}) {
        const PhotoMetadata m = readPhotoMetadata(photoTiff(mode));
        EXPECT_EQ(m.icc, displayP3Profile()) << mode;
        EXPECT_EQ(m.xmp, photoXmp()) << mode;
        EXPECT_EQ(m.iptc, photoIptc()) << mode;
        EXPECT_EQ(m.resolution, (Resolution{Resolution::Unit::Inch, 300, 300})) << mode;
        Probe p;
        probeExif(m.exif, p);
        EXPECT_EQ(p.make, QByteArray(kMake, sizeof kMake)) << mode;
        EXPECT_EQ(p.takenAt, QByteArray(kTakenAt, sizeof kTakenAt)) << mode;
        EXPECT_NEAR(p.exposure, 1.0 / 125, 1e-6) << mode;
    }
}
