// Every picture of the shared corpus in the raster kinds goes through the
// loader: files their source suite calls valid must decode, invalid ones must
// raise the program's error, and the rest may do either but must not crash.
#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/PictureLoader.h"
#include "platform/Error.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <set>

namespace {

using tessaly::test::CorpusFile;

// Valid files that our decoders legitimately cannot read.
const std::set<QString> kUnreadableValid = {
    // The height comes in a DNL marker after the first scan, which libjpeg
    // does not support.
    QStringLiteral("jpeg/jpegsuite/baseline/32x32x8_dnl.jpg"),
    // 12-bit samples and lossless coding: libjpeg-turbo 2.1 decodes 8-bit
    // lossy JPEG only through the libjpeg API.
    QStringLiteral("jpeg/jpegsuite/extended_huffman/32x32x12_grayscale.jpg"),
    QStringLiteral("jpeg/jpegsuite/extended_huffman/32x32x12_ycbcr_interleaved.jpg"),
    QStringLiteral("jpeg/jpegsuite/progressive_huffman/32x32x12_ycbcr_interleaved.jpg"),
    QStringLiteral("jpeg/libjpeg-turbo/monkey12.jpg"),
    QStringLiteral("jpeg/jpegsuite/lossless_arithmetic/32x32x8_grayscale.jpg"),
    QStringLiteral("jpeg/jpegsuite/lossless_huffman/32x32x16_grayscale.jpg"),
    QStringLiteral("jpeg/jpegsuite/lossless_huffman/32x32x8_ycbcr_interleaved.jpg"),
};

// Files their suite calls invalid that decode here, and why that is right.
const std::set<QString> kReadableInvalid = {
    // Only the print density is absurd; it has no bearing on the pixels.
    QStringLiteral("bmp/bmpsuite-2.8/b/baddens1.bmp"),
    QStringLiteral("bmp/bmpsuite-2.8/b/baddens2.bmp"),
    // Only the file size field is wrong (it claims gigabytes); the pixel
    // data are all there, and like the system's reader ours does not need
    // the field.
    QStringLiteral("bmp/bmpsuite-2.8/b/badfilesize.bmp"),
    // The unknown compression method is that of the colour profile (iCCP),
    // which the program does not use; the image data are intact.
    QStringLiteral("png/pillow/unknown_compression_method.png"),
};

// Draws the picture both ways the program does, so that the sanitizers see
// every pixel path.
void exercise(const tessaly::Picture& picture) {
    const QSize size = picture.naturalSize();
    tessaly::Bitmap24 bitmap;
    bitmap.setWidth(size.width());
    bitmap.setHeight(size.height());
    picture.rasterise(bitmap);
    QImage box(177, 177, QImage::Format_RGB32);
    QPainter painter(&box);
    picture.drawPreview(painter, QRect(0, 0, 177, 120), Qt::lightGray);
}

// What happened to one file: empty when it decoded, else the error text.
QString outcome(const CorpusFile& file) {
    try {
        exercise(*tessaly::loadPicture(file.path));
        return QString();
    } catch (const tessaly::Error& e) {
        return e.message().isEmpty() ? QStringLiteral("(empty message)") : e.message();
    }
}

class PictureCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(PictureCorpus, DecodesValidAndRejectsInvalidFiles) {
    if (tessaly::test::corpusRoot().isEmpty())
        GTEST_SKIP() << "The picture corpus is absent (set TESSALY_CORPUS); nothing checked.";
    const auto files = tessaly::test::corpusFiles(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(files.empty()) << "no files listed for " << GetParam();
    int decoded = 0;
    for (const CorpusFile& file : files) {
        const QString error = outcome(file);
        const std::string name = file.relative.toStdString();
        decoded += error.isEmpty();
        if (file.expect == QLatin1String("valid") && !kUnreadableValid.count(file.relative))
            EXPECT_TRUE(error.isEmpty()) << name << ": " << error.toStdString();
        else if (file.expect == QLatin1String("invalid") && !kReadableInvalid.count(file.relative))
            EXPECT_FALSE(error.isEmpty()) << name << " decoded although it is invalid";
        std::printf("  %-12s %-70s %s\n", qPrintable(file.expect), name.c_str(),
                    error.isEmpty() ? "decoded" : qPrintable(error));
    }
    std::printf("%s: %d of %zu files decoded\n", GetParam(), decoded, files.size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, PictureCorpus,
                         ::testing::Values("bmp", "png", "jpeg", "gif", "ico", "tiff"));

} // namespace
