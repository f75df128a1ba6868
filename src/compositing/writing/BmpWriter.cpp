#include "compositing/writing/BmpWriter.h"

#include "compositing/blend/AlphaBlendTile.h"
#include "platform/FileReplacer.h"

namespace tessaly {

namespace {

void put16(uint8_t* at, uint32_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}

} // namespace

std::array<uint8_t, 54> bmpHeaders(const Bitmap24& bitmap) {
    return bmpHeaders(bitmap.width(), bitmap.height());
}

std::array<uint8_t, 54> bmpHeaders(int width, int height) {
    // The size limit of bitmaps keeps these well inside 32 bits.
    const auto imageSize = uint32_t(Bitmap24::rowSizeFor(width) * std::size_t(height));
    std::array<uint8_t, 54> h{}; // reserved fields, resolutions and colour counts stay 0
    h[0] = 'B';
    h[1] = 'M';
    put32(&h[2], 54 + imageSize);
    put32(&h[10], 54);
    put32(&h[14], 40);
    put32(&h[18], uint32_t(width));
    put32(&h[22], uint32_t(height));
    put16(&h[26], 1);
    put16(&h[28], 24);
    put32(&h[34], imageSize);
    return h;
}

void saveBmp(const Bitmap24& bitmap, const QString& path) {
    requireDepth24(bitmap, bitmap);
    const std::array<uint8_t, 54> headers = bmpHeaders(bitmap);
    FileReplacer file(path, headers.size() + bitmap.byteSize());
    file.write(headers.data(), headers.size());
    file.write(bitmap.bits(), bitmap.byteSize());
    file.commit();
}

} // namespace tessaly
