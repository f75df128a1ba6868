#include "compositing/picture/BitmapPicture.h"
#include "compositing/preview/PreviewScaler.h"
#include "RandomBitmap.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

using namespace tessaly;
using tessaly::test::randomBitmap;
using tessaly::test::sameBytes;
using tessaly::test::setPixel;

TEST(BitmapPicture, TakesTheBitmapOverWithoutCopying) {
    Bitmap24 bitmap = randomBitmap(1000, 600, 31);
    const Bitmap24 expected = bitmap;
    const uint8_t* pixels = bitmap.bits();
    const BitmapPicture picture(std::move(bitmap));
    EXPECT_EQ(picture.bitmap().bits(), pixels);
    EXPECT_EQ(picture.naturalSize(), QSize(1000, 600));

    Bitmap24 target;
    target.resize(1000, 600);
    picture.rasterise(target);
    EXPECT_TRUE(sameBytes(target, expected));
}

TEST(BitmapPicture, RasterisesOntoAnotherSizeFromTheTopLeft) {
    const BitmapPicture picture(randomBitmap(4, 3, 32));
    Bitmap24 target;
    target.resize(6, 2);
    picture.rasterise(target);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(0, std::memcmp(target.scanLine(y), picture.bitmap().scanLine(y), 12));
        EXPECT_EQ(target.scanLine(y)[12], 0xFF);
    }
}

// Each preview pixel is the average of its box of source pixels, with the
// bitmap's bottom-up rows shown the right way up.
TEST(BitmapPicture, PreviewAveragesBoxesTheRightWayUp) {
    Bitmap24 bitmap;
    bitmap.resize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            setPixel(bitmap, x, y, 0, 0, y < 2 ? 200 : 0); // red on top, black below
    setPixel(bitmap, 3, 3, 40, 80, 120);
    const QImage preview = scaledPreview(bitmap, QSize(2, 2));
    ASSERT_EQ(preview.size(), QSize(2, 2));
    EXPECT_EQ(preview.pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(preview.pixel(1, 0), qRgb(200, 0, 0));
    EXPECT_EQ(preview.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_EQ(preview.pixel(1, 1), qRgb(30, 20, 10));
}

TEST(BitmapPicture, DrawsThePreviewIntoItsRectangle) {
    Bitmap24 bitmap;
    bitmap.resize(300, 10);
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 10; ++y)
            setPixel(bitmap, x, y, 0, 0, 255); // red
    const BitmapPicture picture(std::move(bitmap));
    QImage canvas(50, 50, QImage::Format_RGB32);
    for (QSize size : {QSize(30, 5), QSize(40, 40)}) { // shrunk, and enlarged one way
        canvas.fill(Qt::blue);
        QPainter painter(&canvas);
        picture.drawPreview(painter, QRect(QPoint(3, 4), size), Qt::gray);
        painter.end();
        EXPECT_EQ(canvas.pixel(3, 4), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.pixel(2 + size.width(), 3 + size.height()), qRgb(255, 0, 0));
        EXPECT_EQ(canvas.pixel(3 + size.width(), 4), qRgb(0, 0, 255));
        EXPECT_EQ(canvas.pixel(3, 4 + size.height()), qRgb(0, 0, 255));
    }
}
