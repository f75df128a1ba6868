#include "compositing/picture/RasterPicture.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/PixelBuffer.h"
#include "compositing/preview/PreviewScaler.h"
#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <QPainter>

namespace tessaly {

namespace {

// The QImage's cleanup: the pixel buffer goes back where it came from, so
// that the next picture of the same size finds its memory already touched.
void releasePixels(void* buffer) {
    delete static_cast<PixelBuffer*>(buffer);
}

QImage allocate(int width, int height, QImage::Format format) {
    checkDecodedSize(width, height);
    const int depth = format == QImage::Format_BGR888 ? 24 : 32;
    const std::size_t rowSize = Bitmap24::rowSizeFor(width, depth);
    auto pixels = std::make_unique<PixelBuffer>();
    try {
        *pixels = allocatePixels(rowSize * std::size_t(height));
    } catch (const std::bad_alloc&) {
    }
    QImage image;
    if (*pixels)
        image = QImage(pixels->get(), width, height, qsizetype(rowSize), format, releasePixels,
                       pixels.get());
    if (image.isNull())
        raiseNoPictureMemory(width, height);
    pixels.release(); // the image owns it now
    return image;
}

void copyOpaqueRows(const QImage& source, Bitmap24& target, int width, int height) {
    const std::size_t bytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::memcpy(target.scanLine(y), source.constScanLine(y), bytes);
}

void blendRowsOverWhite(const QImage& source, Bitmap24& target, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uint8_t* dst = target.scanLine(y);
        for (int x = 0; x < width; ++x, dst += 3) {
            const QRgb p = src[x];
            const unsigned a = qAlpha(p);
            if (a == 0)
                continue; // the target is already white
            dst[0] = overWhite(qBlue(p), a);
            dst[1] = overWhite(qGreen(p), a);
            dst[2] = overWhite(qRed(p), a);
        }
    }
}

} // namespace

RasterPicture::RasterPicture(QImage pixels) : pixels_(std::move(pixels)) {
    if (pixels_.format() == QImage::Format_BGR888 || pixels_.format() == QImage::Format_ARGB32)
        return;
    pixels_ = pixels_.hasAlphaChannel() ? pixels_.convertToFormat(QImage::Format_ARGB32)
                                        : pixels_.convertToFormat(QImage::Format_BGR888);
}

QImage RasterPicture::newOpaque(int width, int height, Fill fill) {
    QImage image = allocate(width, height, QImage::Format_BGR888);
    if (fill == Fill::Clear)
        std::memset(image.bits(), 0xFF, std::size_t(image.sizeInBytes()));
    return image;
}

QImage RasterPicture::newTransparent(int width, int height, Fill fill) {
    QImage image = allocate(width, height, QImage::Format_ARGB32);
    if (fill == Fill::Clear)
        std::memset(image.bits(), 0, std::size_t(image.sizeInBytes()));
    return image;
}

void RasterPicture::rasterise(Bitmap24& target) const {
    if (target.bitsPerPixel() != 24)
        throw Error(QStringLiteral("Pictures are drawn onto 24-bit bitmaps only"));
    // The caller sizes the target to the natural size; should it not, the
    // overlapping part is drawn and nothing outside either buffer is touched.
    const int width = std::min(target.width(), pixels_.width());
    const int height = std::min(target.height(), pixels_.height());
    if (width <= 0 || height <= 0)
        return;
    if (hasAlpha())
        blendRowsOverWhite(pixels_, target, width, height);
    else
        copyOpaqueRows(pixels_, target, width, height);
}

void RasterPicture::drawPreview(QPainter& painter, const QRect& rect,
                                const QColor& background) const {
    if (rect.isEmpty() || pixels_.isNull())
        return;
    if (preview_.size() != rect.size())
        preview_ = scaledPreview(pixels_, rect.size());
    if (hasAlpha())
        painter.fillRect(rect, background);
    painter.drawImage(rect, preview_);
}

} // namespace tessaly
