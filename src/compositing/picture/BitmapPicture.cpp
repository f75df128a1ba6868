#include "compositing/picture/BitmapPicture.h"

#include "compositing/preview/PreviewScaler.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <QPainter>

namespace tessaly {

BitmapPicture::BitmapPicture(Bitmap24 bitmap) : bitmap_(std::move(bitmap)) {}

Bitmap24 BitmapPicture::newPixels(int width, int height) {
    checkDecodedSize(width, height);
    Bitmap24 bitmap;
    try {
        bitmap.resizeForOverwrite(width, height);
    } catch (const std::bad_alloc&) {
        raiseNoPictureMemory(width, height);
    }
    return bitmap;
}

Bitmap24 BitmapPicture::takeBitmap() && {
    preview_ = QImage();
    return std::move(bitmap_);
}

QSize BitmapPicture::naturalSize() const {
    return QSize(bitmap_.width(), bitmap_.height());
}

void BitmapPicture::rasterise(Bitmap24& target) const {
    if (target.width() == bitmap_.width() && target.height() == bitmap_.height() &&
        target.bitsPerPixel() == bitmap_.bitsPerPixel()) {
        std::memcpy(target.bits(), bitmap_.bits(), bitmap_.byteSize());
        return;
    }
    // Another size than ours: copy what both share, from the top-left.
    if (target.bitsPerPixel() != 24)
        return;
    const int rows = std::min(target.height(), bitmap_.height());
    const std::size_t bytes = std::size_t(std::min(target.width(), bitmap_.width())) * 3;
    for (int y = 0; y < rows; ++y)
        std::memcpy(target.scanLine(y), bitmap_.scanLine(y), bytes);
}

void BitmapPicture::drawPreview(QPainter& painter, const QRect& rect, const QColor&) const {
    if (rect.isEmpty())
        return;
    if (preview_.size() != rect.size())
        preview_ = scaledPreview(bitmap_, rect.size());
    if (!preview_.isNull())
        painter.drawImage(rect.topLeft(), preview_);
}

} // namespace tessaly
