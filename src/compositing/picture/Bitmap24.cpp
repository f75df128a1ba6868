#include "compositing/picture/Bitmap24.h"

#include "platform/Error.h"

#include <cstring>

namespace tessaly {

void checkPictureSize(int64_t width, int64_t height) {
    if (width < 0 || height < 0)
        throw Error(QStringLiteral("Invalid picture size (%1 x %2)").arg(width).arg(height));
    if (width > 0 && height > 0 && uint64_t(width) * uint64_t(height) > kMaxPixels)
        throw Error(QStringLiteral("Picture is too large (%1 x %2 pixels); the limit is %3 "
                                   "megapixels")
                        .arg(width)
                        .arg(height)
                        .arg(kMaxPixels >> 20));
    if (width > 0x7FFFFFF || height > 0x7FFFFFF)
        throw Error(QStringLiteral("Picture is too large (%1 x %2 pixels)").arg(width).arg(height));
}

void checkDecodedSize(int64_t width, int64_t height) {
    checkPictureSize(width, height);
    if (width <= 0 || height <= 0)
        throw Error(QStringLiteral("Picture has no pixels (%1 x %2)").arg(width).arg(height));
}

void raiseNoPictureMemory(int width, int height) {
    throw Error(
        QStringLiteral("Not enough memory for a picture of %1 x %2 pixels").arg(width).arg(height));
}

std::size_t Bitmap24::rowSizeFor(int width, int bitsPerPixel) {
    return ((std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32) * 4;
}

Bitmap24 Bitmap24::withDepth(int bitsPerPixel, int width, int height) {
    Bitmap24 b;
    b.bits_ = bitsPerPixel;
    b.resize(width, height);
    return b;
}

Bitmap24::Bitmap24(const Bitmap24& other)
    : width_(other.width_), height_(other.height_), bits_(other.bits_), rowSize_(other.rowSize_),
      keyed_(other.keyed_) {
    if (other.data_) {
        data_ = allocatePixels(byteSize());
        std::memcpy(data_.get(), other.data_.get(), byteSize());
    }
}

Bitmap24& Bitmap24::operator=(const Bitmap24& other) {
    if (this != &other) {
        Bitmap24 copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void Bitmap24::resize(int width, int height) {
    reallocate(width, height);
    if (byteSize())
        std::memset(data_.get(), 0xFF, byteSize());
}

void Bitmap24::resizeForOverwrite(int width, int height) {
    reallocate(width, height);
    const std::size_t used = (std::size_t(width_) * std::size_t(bits_) + 7) / 8;
    if (used == rowSize_)
        return;
    for (int y = 0; y < height_; ++y)
        std::memset(scanLine(y) + used, 0xFF, rowSize_ - used);
}

void Bitmap24::reallocate(int width, int height) {
    checkPictureSize(width, height);
    const std::size_t rowSize = rowSizeFor(width, bits_);
    const std::size_t bytes = rowSize * std::size_t(height);
    // The old pixels go first so that a large buffer can serve again at once;
    // should the new one fail, the bitmap is left empty rather than torn.
    data_.reset();
    width_ = height_ = 0;
    rowSize_ = 0;
    data_ = allocatePixels(bytes);
    width_ = width;
    height_ = height;
    rowSize_ = rowSize;
}

} // namespace tessaly
