// Small pictures of every raster kind, loaded from files and rasterised onto
// white, checked against the pixels each kind's rules give.
#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/RasterPicture.h"
#include "PictureFixtures.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

using namespace fixtures;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kBlack = 0xFF000000;

struct Probe {
    int x, y;
    QRgb colour;
};

struct RuleCase {
    const char* name;
    const char* extension;
    std::function<QByteArray(const QString& dir)> make;
    QSize size;
    std::vector<Probe> probes;
};

// --- BMP ---------------------------------------------------------------------

QByteArray paletteBmp(const QString&) {
    // 3 x 2, 4 bits: top row red, green, blue; bottom row blue, blue, red.
    Bytes rows;
    rows.u8(0x22).u8(0x00).padTo4(0); // bottom row first
    rows.u8(0x01).u8(0x20).padTo4(4); // then the top row
    return bmpFile(infoHeader(3, 2, 4, 0, 3), palette({kRed, kGreen, kBlue}), rows.data);
}

QByteArray bmp32WithFourthByte(const QString&) {
    Bytes px;
    px.raw({10, 20, 30, 0x00, 40, 50, 60, 0x80});
    return bmpFile(infoHeader(2, 1, 32), {}, px.data);
}

QByteArray topDownBmp24(const QString&) {
    Bytes px;
    px.raw({1, 2, 3}).padTo4(0).raw({4, 5, 6}).padTo4(0);
    return bmpFile(infoHeader(1, -2, 24), {}, px.data);
}

QByteArray bitFieldBmp16(const QString&) {
    Bytes masks, px;
    masks.u32(0xF800).u32(0x07E0).u32(0x001F);
    px.u16(0xF800).u16(0x07E0);
    return bmpFile(infoHeader(2, 1, 16, 3), masks.data, px.data);
}

QByteArray rle8Bmp(const QString&) {
    // Bottom row: two red pixels, then the line ends early. Top row: a jump
    // over one pixel, one green pixel, then the bitmap ends.
    Bytes rle;
    rle.raw({2, 0, 0, 0, 0, 2, 1, 0, 1, 1, 0, 1});
    return bmpFile(infoHeader(4, 2, 8, 1, 2), palette({kRed, kGreen}), rle.data);
}

// Writers that encode a row's padding pixels leave runs that pass the row's
// end; the rest of such a run is dropped, and the reader goes on after its
// bytes. Each bitmap is 3 x 2 with the palette red, green, blue; its codes
// come bottom row first.
QByteArray rle8EncodedPastRowEnd(const QString&) {
    return rleBmpFile(3, 2, 8, {kRed, kGreen, kBlue},
                      {4, 0, 2, 1, 0, 0,         // 4 red (one too many), then 2 green: no room
                       1, 2, 5, 1, 0, 0, 0, 1}); // blue, 5 green (3 too many)
}

QByteArray rle8AbsolutePastRowEnd(const QString&) {
    return rleBmpFile(3, 2, 8, {kRed, kGreen, kBlue},
                      {0, 5, 0, 1, 2, 1, 0, 0, 0, 0, // 5 indices and their padding byte
                       0, 4, 2, 1, 0, 1, 0, 0, 0, 1});
}

QByteArray rle4EncodedPastRowEnd(const QString&) {
    return rleBmpFile(3, 2, 4, {kRed, kGreen, kBlue},
                      {4, 0x12, 0, 0,                  // green, blue, green (, blue dropped)
                       1, 0x00, 3, 0x21, 0, 0, 0, 1}); // red, blue, green (, blue dropped)
}

QByteArray rle4AbsolutePastRowEnd(const QString&) {
    return rleBmpFile(3, 2, 4, {kRed, kGreen, kBlue},
                      {0, 5, 0x01, 0x20, 0x10, 0, 0, 0, // 5 nibbles in 3 bytes, padded to 4
                       0, 3, 0x21, 0x00, 0, 0, 0, 1});
}

// Red, green, blue on the bottom row; blue, green, red on the top one:
// what the absolute runs above draw.
const std::vector<Probe> kRunProbes = {{0, 1, kRed},  {1, 1, kGreen}, {2, 1, kBlue},
                                       {0, 0, kBlue}, {1, 0, kGreen}, {2, 0, kRed}};

QByteArray bmpClaimingALargerFile(const QString&) {
    Bytes px;
    px.raw({0, 0, 255}).padTo4(0);
    return withFileSize(bmpFile(infoHeader(1, 1, 24), {}, px.data), 0x7FFFFFF0);
}

QByteArray bmpMoreColoursThanTheDepth(const QString&) {
    // 1 bit, but four colours listed (and present): only two can be reached.
    Bytes px;
    px.u8(0x40).padTo4(0);
    return bmpFile(infoHeader(2, 1, 1, 0, 4), palette({kRed, kGreen, kBlue, kWhite}), px.data);
}

// --- PNG ---------------------------------------------------------------------

PngSpec oneRowPng(int colourType, int width, std::vector<uint8_t> row) {
    PngSpec s;
    s.width = width;
    s.height = 1;
    s.colourType = colourType;
    s.rows = {std::move(row)};
    return s;
}

QByteArray pngOneTransparentEntry(const QString&) {
    PngSpec s = oneRowPng(PNG_COLOR_TYPE_PALETTE, 3, {0, 1, 2});
    s.palette = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    s.paletteAlpha = {255, 0};
    return pngFile(s);
}

QByteArray pngColourKey(const QString&) {
    PngSpec s = oneRowPng(PNG_COLOR_TYPE_RGB, 2, {0, 0, 255, 10, 20, 30});
    s.colourKey = true;
    s.key.blue = 255;
    return pngFile(s);
}

QByteArray pngGradedAlpha(const QString&) {
    return pngFile(oneRowPng(PNG_COLOR_TYPE_RGB_ALPHA, 4,
                             {200, 100, 50, 255, 0, 0, 0, 128, 10, 20, 30, 0, 200, 100, 50, 51}));
}

// --- GIF ---------------------------------------------------------------------

GifSpec smallGif(int transparent, int background) {
    GifSpec s;
    s.screenWidth = 4;
    s.screenHeight = 3;
    s.background = background;
    s.colours = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
    s.left = 1;
    s.top = 1;
    s.width = 2;
    s.height = 1;
    s.pixels = {1, 2};
    s.transparent = transparent;
    return s;
}

// --- ICO ---------------------------------------------------------------------

// A square icon bitmap of one colour whose mask leaves out the top-left pixel.
QByteArray iconBitmap(int size, int bits, QRgb colour) {
    Bytes b;
    b.raw(infoHeader(size, size * 2, bits)).raw(palette({kBlack, colour}));
    for (int i = (1 << bits) - 2; i > 0; --i)
        b.u32(0);
    for (int y = 0; y < size; ++y) {
        const int start = int(b.data.size());
        for (int x = 0; x < size; x += 8 / bits)
            b.u8(bits == 1 ? 0xFF : bits == 4 ? 0x11 : 0x01);
        b.padTo4(start);
    }
    for (int y = size - 1; y >= 0; --y) { // mask rows, bottom-up
        const int start = int(b.data.size());
        for (int x = 0; x < size; x += 8)
            b.u8(y == 0 && x == 0 ? 0x80 : 0x00);
        b.padTo4(start);
    }
    return b.data;
}

QByteArray icoSeveralSizes(const QString&) {
    return icoFile({{16, 4, iconBitmap(16, 4, kRed)},
                    {32, 1, iconBitmap(32, 1, kBlack)},
                    {32, 4, iconBitmap(32, 4, kBlue)},
                    {48, 8, iconBitmap(48, 8, kGreen)}});
}

QByteArray icoWithAlpha(const QString&) {
    Bytes b;
    b.raw(infoHeader(3, 2, 32)).raw({0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0, 128});
    b.u32(0x80000000); // a mask that would hide the first pixel: alpha wins
    return icoFile({{3, 32, b.data}});
}

QByteArray icoWithPng(const QString&) {
    PngSpec s;
    s.width = s.height = 32;
    s.rows.assign(32, std::vector<uint8_t>(32 * 3, 0));
    for (auto& row : s.rows)
        for (int x = 0; x < 32; ++x)
            row[std::size_t(x) * 3 + 1] = 255;
    return icoFile({{16, 4, iconBitmap(16, 4, kRed)}, {32, 24, pngFile(s)}});
}

// --- TIFF --------------------------------------------------------------------

QByteArray tiffWithAlpha(const QString& dir) {
    const QString path = dir + QStringLiteral("/alpha.tif");
    writeRgbaTiff(QFile::encodeName(path).constData(), 3, 1,
                  {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 128});
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Black at alpha 128 over white: (128 * 0 + 127 * 255 + 127) / 255.
constexpr QRgb kHalfBlack = 0xFF7F7F7F;

const RuleCase kCases[] = {
    {"BmpPaletteExpanded",
     "bmp",
     paletteBmp,
     {3, 2},
     {{0, 0, kRed}, {1, 0, kGreen}, {2, 0, kBlue}, {0, 1, kBlue}, {2, 1, kRed}}},
    {"Bmp32FourthByteIgnored",
     "bmp",
     bmp32WithFourthByte,
     {2, 1},
     {{0, 0, 0xFF1E140A}, {1, 0, 0xFF3C3228}}},
    {"BmpTopDownRows", "bmp", topDownBmp24, {1, 2}, {{0, 0, 0xFF030201}, {0, 1, 0xFF060504}}},
    {"Bmp16BitFields", "bmp", bitFieldBmp16, {2, 1}, {{0, 0, kRed}, {1, 0, kGreen}}},
    {"BmpRle8SkippedPixelsStayWhite",
     "bmp",
     rle8Bmp,
     {4, 2},
     {{0, 1, kRed}, {1, 1, kRed}, {2, 1, kWhite}, {0, 0, kWhite}, {1, 0, kGreen}, {3, 0, kWhite}}},
    {"BmpRle8EncodedRunClippedAtRowEnd",
     "bmp",
     rle8EncodedPastRowEnd,
     {3, 2},
     {{0, 1, kRed}, {1, 1, kRed}, {2, 1, kRed}, {0, 0, kBlue}, {1, 0, kGreen}, {2, 0, kGreen}}},
    {"BmpRle8AbsoluteRunClippedAtRowEnd", "bmp", rle8AbsolutePastRowEnd, {3, 2}, kRunProbes},
    {"BmpRle4EncodedRunClippedAtRowEnd",
     "bmp",
     rle4EncodedPastRowEnd,
     {3, 2},
     {{0, 1, kGreen}, {1, 1, kBlue}, {2, 1, kGreen}, {0, 0, kRed}, {1, 0, kBlue}, {2, 0, kGreen}}},
    {"BmpRle4AbsoluteRunClippedAtRowEnd", "bmp", rle4AbsolutePastRowEnd, {3, 2}, kRunProbes},
    {"BmpFileSizeLargerThanTheFile", "bmp", bmpClaimingALargerFile, {1, 1}, {{0, 0, kRed}}},
    {"BmpColoursUsedClampedToTheDepth",
     "bmp",
     bmpMoreColoursThanTheDepth,
     {2, 1},
     {{0, 0, kRed}, {1, 0, kGreen}}},
    {"PngTransparentPaletteEntryStaysWhite",
     "png",
     pngOneTransparentEntry,
     {3, 1},
     {{0, 0, kRed}, {1, 0, kWhite}, {2, 0, kGreen}}},
    {"PngColourKeyStaysWhite", "png", pngColourKey, {2, 1}, {{0, 0, kWhite}, {1, 0, 0xFF0A141E}}},
    {"PngAlphaBlendedOverWhite",
     "png",
     pngGradedAlpha,
     {4, 1},
     {{0, 0, 0xFFC86432}, {1, 0, kHalfBlack}, {2, 0, kWhite}, {3, 0, 0xFFF4E0D6}}},
    {"GifTransparentFillsScreenWithBackground",
     "gif",
     [](const QString&) { return gifFile(smallGif(2, 0)); },
     {4, 3},
     {{0, 0, kRed}, {3, 2, kRed}, {1, 1, kGreen}, {2, 1, kBlue}}},
    {"GifOpaqueLeavesOutsideWhite",
     "gif",
     [](const QString&) { return gifFile(smallGif(-1, 3)); },
     {4, 3},
     {{0, 0, kWhite}, {3, 2, kWhite}, {1, 1, kGreen}, {2, 1, kBlue}}},
    {"IcoNearestSizeMoreColoursMasked",
     "ico",
     icoSeveralSizes,
     {32, 32},
     {{0, 0, kWhite}, {1, 0, kBlue}, {31, 31, kBlue}}},
    {"Ico32BitUsesAlpha",
     "ico",
     icoWithAlpha,
     {3, 1},
     {{0, 0, kRed}, {1, 0, kWhite}, {2, 0, kHalfBlack}}},
    {"IcoPngEntry", "ico", icoWithPng, {32, 32}, {{0, 0, kGreen}, {31, 31, kGreen}}},
    {"TiffAlphaBlendedOverWhite",
     "tif",
     tiffWithAlpha,
     {3, 1},
     {{0, 0, kRed}, {1, 0, kWhite}, {2, 0, kHalfBlack}}},
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

QRgb pixelAt(const tessaly::Bitmap24& bitmap, int x, int y) {
    const uint8_t* p = bitmap.scanLine(y) + x * 3;
    return qRgb(p[2], p[1], p[0]);
}

std::unique_ptr<tessaly::Picture> loadFixture(const RuleCase& c, const QTemporaryDir& dir) {
    const QString path = dir.path() + QStringLiteral("/fixture.") + QLatin1String(c.extension);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.make(dir.path()));
    file.close();
    return tessaly::loadPicture(path);
}

class RasterRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RasterRules, RasterisesToKnownPixels) {
    const RuleCase& c = GetParam();
    QTemporaryDir dir;
    const auto picture = loadFixture(c, dir);
    ASSERT_EQ(picture->naturalSize(), c.size);
    tessaly::Bitmap24 bitmap;
    bitmap.setWidth(c.size.width());
    bitmap.setHeight(c.size.height());
    picture->rasterise(bitmap);
    for (const Probe& p : c.probes)
        EXPECT_EQ(pixelAt(bitmap, p.x, p.y), p.colour)
            << std::hex << "pixel (" << p.x << ", " << p.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Kinds, RasterRules, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The preview shows the window's background where the picture is
// transparent, and the picture's own colours elsewhere.
TEST(RasterPreview, TransparentPartsShowTheBackground) {
    QTemporaryDir dir;
    const auto transparentEntry =
        std::find_if(std::begin(kCases), std::end(kCases), [](const RuleCase& c) {
            return std::string(c.name) == "PngTransparentPaletteEntryStaysWhite";
        });
    const auto picture = loadFixture(*transparentEntry, dir); // red, transparent, green
    QImage box(3, 1, QImage::Format_RGB32);
    box.fill(Qt::black);
    QPainter painter(&box);
    picture->drawPreview(painter, QRect(0, 0, 3, 1), QColor(0x12, 0x34, 0x56));
    painter.end();
    EXPECT_EQ(box.pixel(0, 0), kRed);
    EXPECT_EQ(box.pixel(1, 0), 0xFF123456u);
    EXPECT_EQ(box.pixel(2, 0), kGreen);
}

// A large picture shrinks into a small box by averaging, not by skipping
// pixels: fine black and white stripes average to grey.
TEST(RasterPreview, ShrinkingAveragesPixels) {
    QImage stripes(600, 400, QImage::Format_BGR888);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
    const tessaly::RasterPicture picture(stripes);
    QImage box(60, 40, QImage::Format_RGB32);
    QPainter painter(&box);
    picture.drawPreview(painter, QRect(0, 0, 60, 40), Qt::white);
    painter.end();
    EXPECT_NEAR(qRed(box.pixel(30, 20)), 127, 2);
}

} // namespace
