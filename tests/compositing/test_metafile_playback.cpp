// Small metafiles built record by record, played where GDI's result is
// certain: colours at known places, mapping, clipping, text and bitmaps.
#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/MetafileDecoder.h"
#include "compositing/metafile/MetafilePicture.h"
#include "MetafileBuilder.h"
#include "platform/Error.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QImage>
#include <QPainter>

using tessaly::test::EmfBuilder;
using tessaly::test::Params;
using tessaly::test::WmfBuilder;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

// Record numbers used below.
enum : uint16_t {
    WmfSetWindowOrg = 0x020B,
    WmfSetWindowExt = 0x020C,
    WmfRectangle = 0x041B,
    WmfSelectObject = 0x012D,
    WmfCreatePen = 0x02FA,
    WmfCreateBrush = 0x02FC,
    WmfCreateFont = 0x02FB,
    WmfTextOut = 0x0521,
    WmfExtTextOut = 0x0A32,
    WmfIntersectClip = 0x0416,
    WmfExcludeClip = 0x0415,
    WmfStretchDib = 0x0F43,
    WmfSetBkMode = 0x0102,
    WmfPolygon = 0x0324
};
enum : uint32_t {
    EmrPolygon16 = 86,
    EmrSetWindowExt = 9,
    EmrSetViewportExt = 11,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetTextAlign = 22,
    EmrExcludeClip = 29,
    EmrIntersectClip = 30,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSelectObject = 37,
    EmrCreateBrush = 39,
    EmrRectangle = 43,
    EmrStretchDiBits = 81,
    EmrCreateFont = 82,
    EmrExtTextOutW = 84,
    EmrSetWorldTransform = 35,
    EmrGradientFill = 118
};
constexpr uint32_t kNullPen = 0x80000008;

// A 100 x 100 picture in either format with a red brush and no pen selected.
struct Scene {
    bool emf;
    WmfBuilder wmf{QRect(0, 0, 100, 100), 96};
    EmfBuilder emfFile{QRect(0, 0, 10000, 10000), QSize(1000, 1000), QSize(1000, 1000)};

    explicit Scene(bool isEmf, QRect wmfBox = QRect(0, 0, 100, 100), int wmfInch = 96)
        : emf(isEmf), wmf(wmfBox, wmfInch) {
        if (emf) {
            emfFile.record(EmrCreateBrush, Params().u32(1).u32(0).colour(255, 0, 0).u32(0));
            emfFile.record(EmrSelectObject, Params().u32(1));
            emfFile.record(EmrSelectObject, Params().u32(kNullPen));
        } else {
            wmf.record(WmfCreateBrush, Params().u16(0).colour(255, 0, 0).u16(0));
            wmf.record(WmfSelectObject, Params().u16(0));
            wmf.record(WmfCreatePen, Params().u16(5).words({0, 0}).colour(0, 0, 0));
            wmf.record(WmfSelectObject, Params().u16(1));
        }
    }
    void rectangle(int left, int top, int right, int bottom) {
        if (emf)
            emfFile.record(EmrRectangle, Params().longs({left, top, right, bottom}));
        else
            wmf.record(WmfRectangle, Params().words({bottom, right, top, left}));
    }
    void clip(bool intersect, int left, int top, int right, int bottom) {
        if (emf)
            emfFile.record(intersect ? EmrIntersectClip : EmrExcludeClip,
                           Params().longs({left, top, right, bottom}));
        else
            wmf.record(intersect ? WmfIntersectClip : WmfExcludeClip,
                       Params().words({bottom, right, top, left}));
    }
    std::unique_ptr<tessaly::Picture> decode() const {
        return emf ? tessaly::decodeEmf(emfFile.finish()) : tessaly::decodeWmf(wmf.finish());
    }
};

// The picture rasterised as the blend does it, read back through the
// bitmap's own row access.
QImage rasterised(const tessaly::Picture& picture) {
    tessaly::Bitmap24 bitmap;
    bitmap.resize(picture.naturalSize().width(), picture.naturalSize().height());
    picture.rasterise(bitmap);
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const uint8_t* p = bitmap.scanLine(y) + 3 * x;
            image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    return image;
}

struct Pixel {
    int x, y;
    QColor colour;
};

void expectPixels(const QImage& image, const std::vector<Pixel>& pixels) {
    for (const Pixel& p : pixels)
        EXPECT_EQ(QColor(image.pixel(p.x, p.y)), p.colour) << "at " << p.x << "," << p.y;
}

// The red rectangle (20, 30)-(60, 70), checked one pixel inside and outside
// its edges, where GDI's result does not depend on its edge rules.
const std::vector<Pixel> kRectanglePixels = {{40, 50, kRed},   {21, 31, kRed},   {58, 68, kRed},
                                             {18, 50, kWhite}, {62, 50, kWhite}, {40, 28, kWhite},
                                             {40, 72, kWhite}, {5, 5, kWhite}};

class BothFormats : public ::testing::TestWithParam<bool> {};

TEST_P(BothFormats, FilledRectangleInItsColourAtItsPlace) {
    Scene scene(GetParam());
    scene.rectangle(20, 30, 60, 70);
    const auto picture = scene.decode();
    ASSERT_EQ(picture->naturalSize(), QSize(100, 100));
    expectPixels(rasterised(*picture), kRectanglePixels);
}

TEST_P(BothFormats, WindowMappedOntoViewport) {
    // Logical units ten times smaller than pixels: the emf by MM_ANISOTROPIC
    // window and viewport extents, the wmf by its window against its box.
    Scene scene(GetParam(), QRect(0, 0, 1000, 1000), 960);
    if (scene.emf) {
        scene.emfFile.record(EmrSetMapMode, Params().u32(8));
        scene.emfFile.record(EmrSetWindowExt, Params().longs({1000, 1000}));
        scene.emfFile.record(EmrSetViewportExt, Params().longs({100, 100}));
    } else {
        scene.wmf.record(WmfSetWindowOrg, Params().words({0, 0}));
        scene.wmf.record(WmfSetWindowExt, Params().words({1000, 1000}));
    }
    scene.rectangle(200, 300, 600, 700);
    const auto picture = scene.decode();
    ASSERT_EQ(picture->naturalSize(), QSize(100, 100));
    expectPixels(rasterised(*picture), kRectanglePixels);
}

TEST_P(BothFormats, ClipRectanglesLimitPainting) {
    Scene scene(GetParam());
    scene.clip(true, 0, 0, 50, 100);
    scene.clip(false, 10, 10, 30, 30);
    scene.rectangle(0, 0, 100, 100);
    expectPixels(rasterised(*scene.decode()), {{45, 50, kRed},
                                               {5, 5, kRed},
                                               {55, 50, kWhite},
                                               {95, 95, kWhite},
                                               {20, 20, kWhite},
                                               {35, 35, kRed}});
}

TEST_P(BothFormats, PreviewStretchesOverTheBackground) {
    Scene scene(GetParam());
    scene.rectangle(50, 50, 100, 100);
    const auto picture = scene.decode();
    QImage canvas(300, 300, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    picture->drawPreview(painter, QRect(50, 50, 200, 200), QColor(10, 20, 30));
    painter.end();
    EXPECT_EQ(QColor(canvas.pixel(60, 60)), QColor(10, 20, 30));
    EXPECT_EQ(QColor(canvas.pixel(200, 200)), kRed);
    EXPECT_EQ(QColor(canvas.pixel(20, 20)), QColor(Qt::black));
}

INSTANTIATE_TEST_SUITE_P(Metafile, BothFormats, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "emf" : "wmf"; });

TEST(MetafilePlayback, SaveAndRestoreBringBackTheClip) {
    Scene scene(true);
    scene.emfFile.record(EmrSaveDc);
    scene.clip(true, 0, 0, 10, 10);
    scene.emfFile.record(EmrRestoreDc, Params().i32(-1));
    scene.rectangle(20, 30, 60, 70);
    expectPixels(rasterised(*scene.decode()), kRectanglePixels);
}

TEST(MetafilePlayback, WorldTransformMovesFigures) {
    Scene scene(true);
    scene.emfFile.record(EmrSetWorldTransform,
                         Params().f32(2).f32(0).f32(0).f32(2).f32(10).f32(20));
    scene.rectangle(5, 5, 25, 25); // lands on (20, 30)-(60, 70)
    expectPixels(rasterised(*scene.decode()), kRectanglePixels);
}

TEST(MetafilePlayback, GradientRectangleShadesAcross) {
    Scene scene(true);
    Params p;
    p.longs({0, 0, 0, 0}).u32(2).u32(1).u32(0); // bounds, vertices, rectangles, across
    p.longs({0, 0}).u16(0xFF00).u16(0).u16(0).u16(0);
    p.longs({100, 50}).u16(0).u16(0).u16(0xFF00).u16(0);
    p.u32(0).u32(1);
    scene.emfFile.record(EmrGradientFill, p);
    const QImage image = rasterised(*scene.decode());
    const QColor left(image.pixel(2, 25)), right(image.pixel(97, 25));
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(left.blue(), 15);
    EXPECT_GT(right.blue(), 240);
    EXPECT_LT(right.red(), 15);
    EXPECT_EQ(QColor(image.pixel(50, 75)), kWhite);
}

TEST(MetafilePlayback, WmfWithoutPlaceableHeaderTakesItsWindowExtent) {
    WmfBuilder wmf;
    wmf.record(WmfSetWindowOrg, Params().words({0, 0}));
    wmf.record(WmfSetWindowExt, Params().words({40, 120}));
    EXPECT_EQ(tessaly::decodeWmf(wmf.finish())->naturalSize(), QSize(120, 40));
}

TEST(MetafilePlayback, EmfSizeIsItsFrameOnItsReferenceDevice) {
    // 40 x 25 mm on a device of 4 pixels per millimetre across, 2 down.
    EmfBuilder emf(QRect(1000, 500, 4000, 2500), QSize(800, 400), QSize(200, 200));
    EXPECT_EQ(tessaly::decodeEmf(emf.finish())->naturalSize(), QSize(160, 50));
}

// Draws a large metafile with the address space capped a little above what
// the process uses, and ends with 3 when that raises the program's error.
[[noreturn]] void rasteriseWithoutRoom() {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    rlimit cap;
    cap.rlim_cur = cap.rlim_max = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
    setrlimit(RLIMIT_AS, &cap);
    const tessaly::metafile::MetafilePicture picture(QSize(16000, 16000),
                                                     [](QPainter&, const QRectF&) {});
    tessaly::Bitmap24 target;
    target.resize(2, 2);
    try {
        picture.rasterise(target);
    } catch (const tessaly::Error& e) {
        std::fputs(qPrintable(e.message()), stderr);
        std::_Exit(3);
    }
    std::_Exit(0);
}

// A metafile drawn where there is no memory for its drawing raises, rather
// than giving a white picture that the blend would take for the real one.
// The sanitizers reserve far more address space than a cap would leave.
TEST(MetafilePlayback, NoMemoryToDrawRaisesInsteadOfAWhitePicture) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "address space caps do not work under the sanitizers";
#else
    EXPECT_EXIT(rasteriseWithoutRoom(), ::testing::ExitedWithCode(3),
                "Not enough memory to draw a metafile of 16000 x 16000");
#endif
}

// Dark pixels of the text inside the area and none outside it.
void expectTextIn(const QImage& image, const QRect& area) {
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++(area.contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);
}

Params wmfFont(int height) {
    Params p;
    p.words({height, 0, 0, 0, 400}).u8(0).u8(0).u8(0).u8(0).u32(0);
    return p.bytes(QByteArray("DejaVu Sans")).u8(0).pad(2);
}

TEST(MetafileText, WmfTextOutAndExtTextOutDrawAnsiText) {
    for (const bool extended : {false, true}) {
        WmfBuilder wmf(QRect(0, 0, 120, 100), 96);
        wmf.record(WmfCreateFont, wmfFont(-24)).record(WmfSelectObject, Params().u16(0));
        wmf.record(WmfSetBkMode, Params().u16(1));
        const QByteArray text("Hi\xe9"); // the last one is e acute in Windows-1252
        if (extended)
            wmf.record(WmfExtTextOut,
                       Params().words({10, 10, int(text.size()), 0}).bytes(text).pad(2));
        else
            wmf.record(WmfTextOut,
                       Params().u16(uint16_t(text.size())).bytes(text).pad(2).words({10, 10}));
        expectTextIn(rasterised(*tessaly::decodeWmf(wmf.finish())), QRect(8, 8, 80, 32));
    }
}

TEST(MetafileText, EmfExtTextOutWDrawsUtf16Text) {
    EmfBuilder emf(QRect(0, 0, 12000, 10000), QSize(1000, 1000), QSize(1000, 1000));
    Params font;
    font.u32(2).longs({-24, 0, 0, 0, 700}).u32(0).u32(0);
    for (QChar c : QStringLiteral("DejaVu Sans"))
        font.u16(c.unicode());
    font.u16(0).pad(4);
    while (font.data.size() < 4 + 92)
        font.u8(0);
    emf.record(EmrCreateFont, font).record(EmrSelectObject, Params().u32(2));
    emf.record(EmrSetBkMode, Params().u32(1));
    emf.record(EmrSetTextAlign, Params().u32(6)); // centred, top
    const QString text = QStringLiteral("H\u00e9\u0142");
    Params run;
    run.longs({0, 0, 0, 0}).u32(1).f32(1).f32(1); // bounds, graphics mode, scales
    run.longs({60, 50}).u32(uint32_t(text.size())).u32(76).u32(0).longs({0, 0, 0, 0}).u32(0);
    for (QChar c : text)
        run.u16(c.unicode());
    run.pad(4);
    emf.record(EmrExtTextOutW, run);
    expectTextIn(rasterised(*tessaly::decodeEmf(emf.finish())), QRect(35, 48, 50, 32));
}

// A 2 x 2 DIB of the given depth: red, green on the top row; blue, white on
// the bottom one (1-bit: red, white / white, red).
QByteArray dib(int depth) {
    const QList<QColor> palette =
        depth == 1 ? QList<QColor>{kRed, kWhite} : QList<QColor>{kRed, kGreen, kBlue, kWhite};
    const std::vector<int> bottomUp =
        depth == 1 ? std::vector<int>{1, 0, 0, 1} : std::vector<int>{2, 3, 0, 1};
    Params p;
    p.u32(40).i32(2).i32(2).u16(1).u16(uint16_t(depth)).u32(0).u32(0).u32(0).u32(0);
    p.u32(depth <= 8 ? uint32_t(palette.size()) : 0).u32(0);
    if (depth <= 8)
        for (const QColor& c : palette)
            p.u8(uint8_t(c.blue())).u8(uint8_t(c.green())).u8(uint8_t(c.red())).u8(0);
    for (int row = 0; row < 2; ++row) {
        Params line;
        const int a = bottomUp[std::size_t(2 * row)], b = bottomUp[std::size_t(2 * row + 1)];
        const QColor ca = palette[a], cb = palette[b];
        switch (depth) {
        case 1:
            line.u8(uint8_t((a << 7) | (b << 6)));
            break;
        case 4:
            line.u8(uint8_t((a << 4) | b));
            break;
        case 8:
            line.u8(uint8_t(a)).u8(uint8_t(b));
            break;
        case 16:
            for (const QColor& c : {ca, cb})
                line.u16(
                    uint16_t(((c.red() >> 3) << 10) | ((c.green() >> 3) << 5) | (c.blue() >> 3)));
            break;
        default:
            for (const QColor& c : {ca, cb}) {
                line.u8(uint8_t(c.blue())).u8(uint8_t(c.green())).u8(uint8_t(c.red()));
                if (depth == 32)
                    line.u8(0);
            }
        }
        p.bytes(line.pad(4).data);
    }
    return p.data;
}

std::vector<Pixel> dibPixels(int depth) {
    const QColor tr = depth == 1 ? kWhite : kGreen, bl = depth == 1 ? kWhite : kBlue,
                 br = depth == 1 ? kRed : kWhite;
    return {{15, 15, kRed}, {25, 15, tr}, {15, 25, bl}, {25, 25, br}, {35, 35, kWhite}};
}

class DibDepths : public ::testing::TestWithParam<int> {};

TEST_P(DibDepths, WmfStretchDibStretchesTheBitmap) {
    WmfBuilder wmf(QRect(0, 0, 40, 40), 96);
    wmf.record(
        WmfStretchDib,
        Params().u32(0x00CC0020).u16(0).words({2, 2, 0, 0, 20, 20, 10, 10}).bytes(dib(GetParam())));
    expectPixels(rasterised(*tessaly::decodeWmf(wmf.finish())), dibPixels(GetParam()));
}

TEST_P(DibDepths, EmfStretchDiBitsStretchesTheBitmap) {
    EmfBuilder emf(QRect(0, 0, 4000, 4000), QSize(1000, 1000), QSize(1000, 1000));
    const QByteArray bitmap = dib(GetParam());
    const int info = 40 + (GetParam() <= 8 ? (GetParam() == 1 ? 8 : 16) : 0);
    Params p;
    p.longs({0, 0, 0, 0, 10, 10, 0, 0, 2, 2}); // bounds, destination, source
    p.u32(80).u32(uint32_t(info)).u32(uint32_t(80 + info)).u32(uint32_t(bitmap.size() - info));
    p.u32(0).u32(0x00CC0020).longs({20, 20}).bytes(bitmap);
    emf.record(EmrStretchDiBits, p.pad(4));
    expectPixels(rasterised(*tessaly::decodeEmf(emf.finish())), dibPixels(GetParam()));
}

TEST(MetafileBitmaps, RunLengthEncodedDibsDecode) {
    // The 8-bit bitmap of the depth tests, as RLE8 runs and as RLE4 runs.
    for (const int depth : {8, 4}) {
        Params p;
        p.u32(40).i32(2).i32(2).u16(1).u16(uint16_t(depth)).u32(depth == 8 ? 1 : 2);
        p.u32(0).u32(0).u32(0).u32(4).u32(0);
        for (const QColor& c : {kRed, kGreen, kBlue, kWhite})
            p.u8(uint8_t(c.blue())).u8(uint8_t(c.green())).u8(uint8_t(c.red())).u8(0);
        if (depth == 8) // bottom row: blue, white; top row: red, green
            p.bytes(QByteArray::fromHex("0102010300000100010100000001"));
        else
            p.bytes(QByteArray::fromHex("0223000002010001"));
        WmfBuilder wmf(QRect(0, 0, 40, 40), 96);
        wmf.record(WmfStretchDib, Params()
                                      .u32(0x00CC0020)
                                      .u16(0)
                                      .words({2, 2, 0, 0, 20, 20, 10, 10})
                                      .bytes(p.data));
        SCOPED_TRACE(depth);
        expectPixels(rasterised(*tessaly::decodeWmf(wmf.finish())), dibPixels(8));
    }
}

INSTANTIATE_TEST_SUITE_P(Metafile, DibDepths, ::testing::Values(1, 4, 8, 16, 24, 32));

} // namespace
