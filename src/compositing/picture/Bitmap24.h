#pragma once

#include "compositing/picture/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tessaly {

// A device-independent bitmap as the blend and the BMP file see it: rows of
// pixels in blue, green, red order, each row padded to a multiple of 4 bytes,
// stored bottom-up (the last image row first in memory). A new or resized
// bitmap is white: every byte 0xFF.
class Bitmap24 {
public:
    Bitmap24() = default;
    // A bitmap of another depth, for callers that hand in foreign bitmaps; the
    // program itself only makes 24-bit ones.
    static Bitmap24 withDepth(int bitsPerPixel, int width, int height);

    Bitmap24(const Bitmap24& other);
    Bitmap24& operator=(const Bitmap24& other);
    Bitmap24(Bitmap24&&) noexcept = default;
    Bitmap24& operator=(Bitmap24&&) noexcept = default;

    // Sets the size; the pixels become white. Raises when the size is negative
    // or the bitmap would exceed the program's size limit.
    void setWidth(int width) { resize(width, height_); }
    void setHeight(int height) { resize(width_, height); }
    void resize(int width, int height);
    // The same for a caller that writes every pixel itself: the pixels are
    // left as the memory holds them, only the row padding is made white.
    // Whitening a picture-sized buffer first costs as much as filling it.
    void resizeForOverwrite(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bits_; }
    // Bytes per row: width x 3 rounded up to a multiple of 4.
    std::size_t rowSize() const { return rowSize_; }
    std::size_t byteSize() const { return rowSize_ * std::size_t(height_); }

    // Row y counted from the top of the image.
    uint8_t* scanLine(int y) { return data_.get() + std::size_t(height_ - 1 - y) * rowSize_; }
    const uint8_t* scanLine(int y) const {
        return data_.get() + std::size_t(height_ - 1 - y) * rowSize_;
    }
    // The rows as they lie in memory, bottom row first.
    uint8_t* bits() { return data_.get(); }
    const uint8_t* bits() const { return data_.get(); }

    // Colour keying: the key is the pixel in column 0 of the bottom row.
    bool colourKeyed() const { return keyed_; }
    void setColourKeyed(bool keyed) { keyed_ = keyed; }

    static std::size_t rowSizeFor(int width, int bitsPerPixel = 24);

private:
    void reallocate(int width, int height);

    int width_ = 0;
    int height_ = 0;
    int bits_ = 24;
    std::size_t rowSize_ = 0;
    bool keyed_ = false;
    PixelBuffer data_;
};

// The largest picture the program accepts, in pixels (2^28).
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;

// Raises when width x height is out of range ("Picture is too large" with the
// size) before any allocation is made for it.
void checkPictureSize(int64_t width, int64_t height);
// The same for the pixels a decoder makes, which must also not be empty
// ("Picture has no pixels").
void checkDecodedSize(int64_t width, int64_t height);
// Raises "Not enough memory for a picture of W x H pixels".
[[noreturn]] void raiseNoPictureMemory(int width, int height);

} // namespace tessaly
