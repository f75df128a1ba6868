// Whole metafiles: broken ones are refused with the decoder's message, the
// corpus plays without a fault, and hostile but well-formed ones stay bounded.
#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/MetafileDecoder.h"
#include "MetafileBuilder.h"
#include "platform/Error.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QPainter>

using tessaly::test::EmfBuilder;
using tessaly::test::Params;
using tessaly::test::WmfBuilder;

namespace {

const QString kNotValid = QStringLiteral("Metafile is not valid");

std::unique_ptr<tessaly::Picture> decode(const QByteArray& bytes, bool emf) {
    return emf ? tessaly::decodeEmf(bytes) : tessaly::decodeWmf(bytes);
}

QString errorOf(const QByteArray& bytes, bool emf) {
    try {
        decode(bytes, emf);
    } catch (const tessaly::Error& e) {
        return e.message();
    }
    return QStringLiteral("(decoded)");
}

QByteArray smallWmf() {
    WmfBuilder wmf(QRect(0, 0, 50, 50), 96);
    wmf.record(0x02FC, Params().u16(0).colour(0, 0, 255).u16(0));
    wmf.record(0x012D, Params().u16(0));
    wmf.record(0x0324, Params().u16(3).words({0, 0, 40, 0, 20, 40}));
    return wmf.finish();
}

QByteArray smallEmf() {
    EmfBuilder emf(QRect(0, 0, 5000, 5000), QSize(100, 100), QSize(100, 100));
    emf.record(86, Params().longs({0, 0, 40, 40}).u32(3).words({0, 0, 40, 0, 20, 40}));
    return emf.finish();
}

TEST(MetafileFiles, EveryTruncationIsRefused) {
    for (const bool emf : {false, true}) {
        const QByteArray whole = emf ? smallEmf() : smallWmf();
        ASSERT_NO_THROW(decode(whole, emf));
        for (qsizetype size = 0; size < whole.size(); ++size)
            EXPECT_EQ(errorOf(whole.left(size), emf), kNotValid)
                << (emf ? "emf" : "wmf") << " cut to " << size << " bytes";
    }
}

// Overwrites a little-endian value inside a file.
QByteArray patched(QByteArray bytes, qsizetype at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

TEST(MetafileFiles, RecordsThatLieAboutTheirSizeAreRefused) {
    // The polygon record follows the 22-byte placeable header, the 18-byte
    // header and two records of 7 and 4 words.
    const qsizetype wmfPolygon = 22 + 18 + 14 + 8;
    const qsizetype emfPolygon = 88;
    struct Case {
        const char* name;
        bool emf;
        QByteArray bytes;
    } cases[] = {
        {"wmf record past the end", false, patched(smallWmf(), wmfPolygon, 0x1000, 4)},
        {"wmf record of size 0", false, patched(smallWmf(), wmfPolygon, 0, 4)},
        {"wmf points beyond the record", false, patched(smallWmf(), wmfPolygon + 6, 50, 2)},
        {"wmf header of unknown type", false, patched(smallWmf(), 22, 7, 2)},
        {"emf record past the end", true, patched(smallEmf(), emfPolygon + 4, 0x1000, 4)},
        {"emf record size not a multiple of 4", true, patched(smallEmf(), emfPolygon + 4, 30, 4)},
        {"emf points beyond the record", true, patched(smallEmf(), emfPolygon + 24, 1000, 4)},
        {"emf header without signature", true, patched(smallEmf(), 40, 0, 4)},
        {"emf header longer than the file", true, patched(smallEmf(), 4, 4000, 4)},
        {"emf file size beyond the data", true, patched(smallEmf(), 48, 100000, 4)},
        {"emf empty frame", true, patched(smallEmf(), 32, 0, 4)},
        {"wmf without placeable header or window", false, smallWmf().mid(22)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.bytes, c.emf), kNotValid) << c.name;
}

TEST(MetafileFiles, OversizedPicturesAreRefusedBeforeAllocation) {
    WmfBuilder wmf(QRect(0, 0, 30000, 30000), 1);
    EXPECT_TRUE(errorOf(wmf.finish(), false).startsWith(QStringLiteral("Picture is too large")));
}

// Valid records with extreme values: a polygon of 16 000 points far off the
// picture, a dashed pen thousands of pixels wide, a font of the largest
// height, a million-pixel bitmap stretched, and thousands of saved states.
TEST(MetafileFiles, ExtremeButValidRecordsPlayBounded) {
    WmfBuilder wmf(QRect(0, 0, 200, 200), 96);
    wmf.record(0x02FA, Params().u16(1).words({30000, 0}).colour(0, 0, 0)); // dashed pen
    wmf.record(0x012D, Params().u16(0));
    Params polygon;
    polygon.u16(16000);
    for (int i = 0; i < 16000; ++i)
        polygon.words({i % 2 ? -32768 : 32767, (i * 37) % 65536 - 32768});
    wmf.record(0x0324, polygon);
    Params font;
    font.words({-32768, 0, 900, 0, 400}).u32(0).u32(0).bytes("DejaVu Sans").u8(0).pad(2);
    wmf.record(0x02FB, font).record(0x012D, Params().u16(1));
    wmf.record(0x0521, Params().u16(4).bytes("Huge").words({10, 10}));
    for (int i = 0; i < 5000; ++i)
        wmf.record(0x001E);
    const auto picture = tessaly::decodeWmf(wmf.finish());
    tessaly::Bitmap24 bitmap;
    bitmap.resize(200, 200);
    picture->rasterise(bitmap);
    SUCCEED();
}

// The emf counterpart with 32-bit extremes: a font of the most negative
// height and escapement, a world transform of the largest allowed factors.
TEST(MetafileFiles, ExtremeEmfValuesPlayBounded) {
    EmfBuilder emf(QRect(0, 0, 20000, 20000), QSize(100, 100), QSize(100, 100));
    Params font;
    font.u32(1).longs({INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX}).u32(0).u32(0);
    while (font.data.size() < 96)
        font.u8(0);
    emf.record(82, font).record(37, Params().u32(1));
    emf.record(35, Params().f32(1e6f).f32(-1e6f).f32(1e6f).f32(1e6f).f32(1e8f).f32(-1e8f));
    Params run;
    run.longs({0, 0, 0, 0}).u32(1).f32(1).f32(1).longs({INT32_MAX, INT32_MIN}).u32(2).u32(76);
    run.u32(2).longs({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}).u32(0).u16('A').u16('B');
    emf.record(84, run);
    emf.record(86, Params().longs({0, 0, 0, 0}).u32(3).words({-32768, -32768, 32767, 0, 0, 32767}));
    const auto picture = tessaly::decodeEmf(emf.finish());
    tessaly::Bitmap24 bitmap;
    bitmap.resize(picture->naturalSize().width(), picture->naturalSize().height());
    picture->rasterise(bitmap);
    SUCCEED();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Pictures above this size are previewed instead of rasterised, to keep the
// sanitizer run's memory in bounds; the records played are the same.
constexpr int64_t kRasteriseLimit = 16 << 20;

// 61338.wmf (from a report of a reader that looped forever) has a record
// whose size field is wrong in its high word; it is refused like any other
// record that lies about its size.
const QStringList kRefusedValid = {QStringLiteral("wmf/poi/61338.wmf")};

// The corrupted emf set plays in part: where the damage lies in a field that
// playback does not depend on (a description offset, a RestoreDC or object
// index out of range, an EMF+ comment, a text offset that the string check
// passes over) the file plays like GDI plays it; the others are refused.
class CorpusMetafiles : public ::testing::TestWithParam<const char*> {};

TEST_P(CorpusMetafiles, PlayWithoutFault) {
    const auto files = tessaly::test::corpusFiles(QString::fromLatin1(GetParam()));
    if (files.empty())
        GTEST_SKIP() << "the picture corpus is absent (TESSALY_CORPUS)";
    const bool emf = QLatin1String(GetParam()) == QLatin1String("emf");
    for (const auto& file : files) {
        SCOPED_TRACE(file.relative.toStdString());
        std::unique_ptr<tessaly::Picture> picture;
        try {
            picture = decode(readAll(file.path), emf);
        } catch (const tessaly::Error& e) {
            EXPECT_EQ(e.message(), kNotValid);
            EXPECT_TRUE(file.expect != QLatin1String("valid") ||
                        kRefusedValid.contains(file.relative));
            continue;
        }
        const QSize size = picture->naturalSize();
        EXPECT_GT(size.width(), 0);
        EXPECT_GT(size.height(), 0);
        if (int64_t(size.width()) * size.height() <= kRasteriseLimit) {
            tessaly::Bitmap24 bitmap;
            bitmap.resize(size.width(), size.height());
            picture->rasterise(bitmap);
        } else {
            QImage preview(400, 400, QImage::Format_RGB32);
            QPainter painter(&preview);
            picture->drawPreview(painter, preview.rect(), Qt::gray);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Metafile, CorpusMetafiles, ::testing::Values("wmf", "emf"));

} // namespace
