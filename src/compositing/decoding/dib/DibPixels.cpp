#include "compositing/decoding/dib/DibPixels.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibRle.h"
#include "compositing/picture/RasterPicture.h"

#include <cstring>
#include <vector>

namespace tessaly {

namespace {

unsigned scaleChannel(uint32_t pixel, const DibChannel& c) {
    if (c.bits == 0)
        return 255;
    const uint32_t value = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8)
        return value >> (c.bits - 8);
    const uint32_t max = (uint32_t(1) << c.bits) - 1;
    return (value * 255 + max / 2) / max;
}

void indexedRow(const DibInfo& info, const uint8_t* src, QRgb* out, ByteReader& reader) {
    const int bits = info.bitCount;
    const unsigned valueMask = (1u << bits) - 1;
    const std::size_t colours = info.palette.size();
    for (int x = 0; x < info.width; ++x) {
        const std::size_t bit = std::size_t(x) * bits;
        const unsigned index = (src[bit / 8] >> (8 - bits - int(bit % 8))) & valueMask;
        if (index >= colours)
            reader.fail(); // a colour the palette does not have
        out[x] = info.palette[index];
    }
}

void maskedRow(const DibInfo& info, const uint8_t* src, QRgb* out, bool withAlpha) {
    const bool wide = info.bitCount == 32;
    for (int x = 0; x < info.width; ++x) {
        const uint32_t p = wide ? uint32_t(src[0]) | (uint32_t(src[1]) << 8) |
                                      (uint32_t(src[2]) << 16) | (uint32_t(src[3]) << 24)
                                : uint32_t(src[0]) | (uint32_t(src[1]) << 8);
        src += wide ? 4 : 2;
        const unsigned a = withAlpha ? scaleChannel(p, info.alpha) : 255;
        out[x] = qRgba(scaleChannel(p, info.red), scaleChannel(p, info.green),
                       scaleChannel(p, info.blue), a);
    }
}

void decodeRow(const DibInfo& info, const uint8_t* src, QRgb* out, bool withAlpha,
               ByteReader& reader) {
    if (info.bitCount <= 8) {
        indexedRow(info, src, out, reader);
    } else if (info.bitCount == 24) {
        for (int x = 0; x < info.width; ++x, src += 3)
            out[x] = qRgb(src[2], src[1], src[0]);
    } else {
        maskedRow(info, src, out, withAlpha);
    }
}

void storeRow(const QRgb* row, QImage& image, int y) {
    if (image.format() == QImage::Format_ARGB32) {
        std::memcpy(image.scanLine(y), row, std::size_t(image.width()) * 4);
        return;
    }
    uint8_t* out = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x, out += 3) {
        out[0] = uint8_t(qBlue(row[x]));
        out[1] = uint8_t(qGreen(row[x]));
        out[2] = uint8_t(qRed(row[x]));
    }
}

QImage readUncompressed(const DibInfo& info, ByteReader& reader, bool withAlpha) {
    const std::size_t rowSize = info.rowSize();
    const uint8_t* data = reader.take(rowSize * std::size_t(info.height));
    QImage image = withAlpha ? RasterPicture::newTransparent(info.width, info.height)
                             : RasterPicture::newOpaque(info.width, info.height);
    const bool copyRows = !withAlpha && info.bitCount == 24;
    std::vector<QRgb> row(copyRows ? 0 : std::size_t(info.width));
    for (int i = 0; i < info.height; ++i) {
        const int y = info.topDown ? i : info.height - 1 - i;
        const uint8_t* src = data + std::size_t(i) * rowSize;
        if (copyRows) { // the file's rows have the picture's own layout
            std::memcpy(image.scanLine(y), src, std::size_t(info.width) * 3);
            continue;
        }
        decodeRow(info, src, row.data(), withAlpha, reader);
        storeRow(row.data(), image, y);
    }
    return image;
}

} // namespace

QImage readDibPixels(const DibInfo& info, ByteReader& reader, bool withAlpha) {
    if (info.isRle())
        return readDibRle(info, reader, withAlpha);
    return readUncompressed(info, reader, withAlpha);
}

} // namespace tessaly
