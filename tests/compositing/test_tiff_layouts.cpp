// TIFF layouts that the picture programs do not write (or not all of them),
// written here by libtiff with samples chosen so that each conversion shows:
// the expected bytes are worked out by hand in the comments. The layouts the
// programs write are checked against their own decoders in
// test_real_world_files.
#include "compositing/decoding/TiffDecoder.h"
#include "compositing/picture/Bitmap24.h"
#include "platform/Error.h"
#include "Rasterised.h"
#include "TiffBuilder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <QRgb>

namespace {

using fixtures::TiffSpec;

struct Expected {
    uint32_t x, y;
    QRgb colour;
};

struct LayoutCase {
    const char* name;
    TiffSpec spec;
    std::vector<Expected> pixels;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

const double kNaN = std::nan("");
const double kInf = INFINITY;

TiffSpec spec(uint16_t photometric, uint16_t samples, uint16_t bits, uint16_t format,
              uint32_t width, std::vector<double> values) {
    TiffSpec s;
    s.photometric = photometric;
    s.samplesPerPixel = samples;
    s.bitsPerSample = bits;
    s.sampleFormat = format;
    s.width = width;
    s.height = uint32_t(values.size() / samples / width);
    s.samples = std::move(values);
    return s;
}

TiffSpec planar(TiffSpec s) {
    s.planar = true;
    return s;
}

TiffSpec tiled(TiffSpec s) {
    s.tileSize = 16;
    return s;
}

TiffSpec bigEndian(TiffSpec s) {
    s.bigEndian = true;
    return s;
}

TiffSpec withExtra(TiffSpec s, uint16_t kind) {
    s.extraSamples = {kind};
    return s;
}

constexpr uint16_t RGB = PHOTOMETRIC_RGB, GREY = PHOTOMETRIC_MINISBLACK,
                   WHITE_IS_0 = PHOTOMETRIC_MINISWHITE, CMYK = PHOTOMETRIC_SEPARATED;
constexpr uint16_t UINT = SAMPLEFORMAT_UINT, FLOAT = SAMPLEFORMAT_IEEEFP;

// One row of `width` pixels, all `pixel` but those given by position.
std::vector<double> row(uint32_t width, const std::vector<double>& pixel,
                        const std::map<uint32_t, std::vector<double>>& others = {}) {
    std::vector<double> all;
    for (uint32_t x = 0; x < width; ++x) {
        const auto other = others.find(x);
        const std::vector<double>& p = other == others.end() ? pixel : other->second;
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

const LayoutCase kCases[] = {
    // Clamped to 0..1, not-a-number as 0; 0.5 -> 32768 -> 128.
    {"Float32ClampedToUnitRange",
     spec(RGB, 3, 32, FLOAT, 3, {-0.5, 2.0, kNaN, 0.5, kInf, -kInf, 0.2, 0.4, 0.6}),
     {{0, 0, qRgb(0, 255, 0)}, {1, 0, qRgb(128, 255, 0)}, {2, 0, qRgb(51, 102, 153)}}},
    // Half floats 0.5, 1.0 and -1.0.
    {"HalfFloatGrey",
     spec(GREY, 1, 16, FLOAT, 3, {0x3800, 0x3C00, 0xBC00}),
     {{0, 0, qRgb(128, 128, 128)}, {1, 0, qRgb(255, 255, 255)}, {2, 0, qRgb(0, 0, 0)}}},
    // 0.25 -> 16384 -> 63.75 -> 64; 17 pixels wide in 16 x 16 tiles, so that
    // the second tile column is clipped.
    {"Float64GreyTiled",
     tiled(spec(GREY, 1, 64, FLOAT, 17, row(17, {1.0}, {{0, {0.25}}}))),
     {{0, 0, qRgb(64, 64, 64)}, {16, 0, qRgb(255, 255, 255)}}},
    // 1000 -> 3.9 -> 4, 60000 -> 233.5 -> 233, 0x8080 -> 128.
    {"BigEndian16BitRgbInPlanes",
     bigEndian(planar(spec(RGB, 3, 16, UINT, 2, {1000, 60000, 32896, 65535, 0, 257}))),
     {{0, 0, qRgb(4, 233, 128)}, {1, 0, qRgb(255, 0, 1)}}},
    // 0x808080 -> 128, 0x123456 -> 18.1 -> 18.
    {"BigEndian24BitGrey",
     bigEndian(spec(GREY, 1, 24, UINT, 3, {8421504, 0xFFFFFF, 0x123456})),
     {{0, 0, qRgb(128, 128, 128)}, {1, 0, qRgb(255, 255, 255)}, {2, 0, qRgb(18, 18, 18)}}},
    // 2^31 -> 32768 -> 128.
    {"32BitIntegerRgb",
     spec(RGB, 3, 32, UINT, 1, {4294967295.0, 2147483648.0, 0}),
     {{0, 0, qRgb(255, 128, 0)}}},
    // Samples cross byte boundaries: 2048 -> 32776 -> 128, 100 -> 6, 4000 -> 249.
    {"Packed12BitRgbOddWidth",
     spec(RGB, 3, 12, UINT, 3, {4095, 0, 2048, 100, 4000, 1, 0, 4095, 0}),
     {{0, 0, qRgb(255, 0, 128)}, {1, 0, qRgb(6, 249, 0)}, {2, 0, qRgb(0, 255, 0)}}},
    // 3-bit grey 5 of 7 -> 182, with 3-bit alpha 4 of 7 -> 146:
    // (146 * 182 + 109 * 255 + 127) / 255 = 213.
    {"Packed3BitGreyAndAlphaInPlanes",
     planar(withExtra(spec(GREY, 2, 3, UINT, 2, {5, 4, 0, 7}), EXTRASAMPLE_UNASSALPHA)),
     {{0, 0, qRgb(213, 213, 213)}, {1, 0, qRgb(0, 0, 0)}}},
    // Straight: (128 * 200 + 127 * 255 + 127) / 255 = 227, (127 * 255 + 127) / 255 = 127.
    // Taken as premultiplied, red would be 255.
    {"UnspecifiedAlphaIsStraight",
     withExtra(spec(RGB, 4, 8, UINT, 1, {200, 0, 0, 128}), EXTRASAMPLE_UNSPECIFIED),
     {{0, 0, qRgb(227, 127, 127)}}},
    // Four samples and no ExtraSamples tag: the fourth is straight alpha.
    {"UndeclaredFourthSampleIsStraightAlpha",
     spec(RGB, 4, 8, UINT, 1, {200, 0, 0, 128}),
     {{0, 0, qRgb(227, 127, 127)}}},
    // 16448 / 32896 premultiplied -> 32768 -> 128 at alpha 128:
    // (128 * 128 + 127 * 255 + 127) / 255 = 191.
    {"Premultiplied16BitRgbaInPlanes",
     planar(withExtra(spec(RGB, 4, 16, UINT, 1, {16448, 0, 32896, 32896}), EXTRASAMPLE_ASSOCALPHA)),
     {{0, 0, qRgb(191, 127, 255)}}},
    // 0 is white; 0x8080 inverted -> 32639 -> 127 at alpha 128 -> 191.
    {"WhiteIsZero16BitWithAlpha",
     withExtra(spec(WHITE_IS_0, 2, 16, UINT, 3, {0, 65535, 32896, 32896, 65535, 0}),
               EXTRASAMPLE_UNASSALPHA),
     {{0, 0, qRgb(255, 255, 255)}, {1, 0, qRgb(191, 191, 191)}, {2, 0, qRgb(255, 255, 255)}}},
    // Cyan ink makes cyan; half black -> 32639 -> 127; no alpha -> white.
    {"Cmyk16BitWithAlphaInTiledPlanes",
     tiled(planar(withExtra(spec(CMYK, 5, 16, UINT, 17,
                                 row(17, {0, 0, 0, 32896, 65535}, {{0, {65535, 0, 0, 0, 65535}}})),
                            EXTRASAMPLE_UNASSALPHA))),
     {{0, 0, qRgb(0, 255, 255)}, {1, 0, qRgb(127, 127, 127)}, {16, 0, qRgb(127, 127, 127)}}},
    // A row wider than the reader widens at a time.
    {"WideRowWithAlpha",
     withExtra(spec(GREY, 2, 16, UINT, 2500,
                    row(2500, {0, 65535}, {{1024, {65535, 65535}}, {2499, {0, 0}}})),
               EXTRASAMPLE_UNASSALPHA),
     {{0, 0, qRgb(0, 0, 0)},
      {1024, 0, qRgb(255, 255, 255)},
      {2498, 0, qRgb(0, 0, 0)},
      {2499, 0, qRgb(255, 255, 255)}}},
    // As CMYK JPEG files: (255 - 100) * (255 - 50) / 255 = 124.6 -> 125.
    {"Cmyk8Bit", spec(CMYK, 4, 8, UINT, 1, {100, 0, 255, 50}), {{0, 0, qRgb(125, 205, 0)}}},
};

QRgb pixelAt(const tessaly::Bitmap24& bitmap, uint32_t x, uint32_t y) {
    const uint8_t* p = bitmap.scanLine(int(y)) + x * 3;
    return qRgb(p[2], p[1], p[0]);
}

tessaly::Bitmap24 rasterised(const QByteArray& file) {
    return tessaly::test::rasterised(*tessaly::decodeTiff(file));
}

class TiffLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TiffLayouts, DecodeToTheirColoursOverWhite) {
    const LayoutCase& c = GetParam();
    const QByteArray file = fixtures::tiffFile(c.spec);
    ASSERT_FALSE(file.isEmpty());
    const tessaly::Bitmap24 bitmap = rasterised(file);
    ASSERT_EQ(bitmap.width(), int(c.spec.width));
    ASSERT_EQ(bitmap.height(), int(c.spec.height));
    for (const Expected& e : c.pixels)
        EXPECT_EQ(pixelAt(bitmap, e.x, e.y), e.colour)
            << "pixel (" << e.x << ", " << e.y << ") is " << std::hex << pixelAt(bitmap, e.x, e.y)
            << ", expected " << e.colour;
}

INSTANTIATE_TEST_SUITE_P(Tiff, TiffLayouts, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A float RGB picture of 20 rows, compressed strip by strip.
TiffSpec deflatedFloatRows() {
    std::vector<double> values(3 * 4 * 20);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = double(i % 7) / 7;
    TiffSpec s = spec(RGB, 3, 32, FLOAT, 4, values);
    s.compression = COMPRESSION_ADOBE_DEFLATE;
    return s;
}

TEST(TiffDamage, AStripThatDoesNotDecodeIsAnInvalidImage) {
    QByteArray file = fixtures::tiffFile(deflatedFloatRows());
    ASSERT_NO_THROW(tessaly::decodeTiff(file));
    // libtiff writes the strips first, from byte 8, and the directory last;
    // spoil the compressed data of the first strips.
    for (int i = 10; i < 60; ++i)
        file[i] = char(0x5A);
    try {
        tessaly::decodeTiff(file);
        FAIL() << "a damaged strip decoded";
    } catch (const tessaly::Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid image"));
    }
}

TEST(TiffDamage, ATileLargerThanTheProgramReadsIsRefusedBeforeReading) {
    // One 64-bit RGBA pixel in a tile of 32768 x 32768: 32 GiB to decode.
    TiffSpec s = withExtra(spec(RGB, 4, 64, FLOAT, 1, {1, 1, 1, 1}), EXTRASAMPLE_UNASSALPHA);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("huge-tile.tif")));
    TIFF* tif = TIFFOpen(path.constData(), "w");
    ASSERT_TRUE(tif);
    s.tileSize = 32768;
    fixtures::writeTags(tif, s);
    const uint8_t raw[32] = {};
    TIFFWriteRawTile(tif, 0, const_cast<uint8_t*>(raw), sizeof raw);
    TIFFClose(tif);
    QFile file(QString::fromLocal8Bit(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    try {
        tessaly::decodeTiff(file.readAll());
        FAIL() << "a 32 GiB tile was read";
    } catch (const tessaly::Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Picture is too large")))
            << e.message().toStdString();
    }
}

} // namespace
