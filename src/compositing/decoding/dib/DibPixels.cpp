#include "compositing/decoding/dib/DibPixels.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibColourTable.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibRle.h"
#include "compositing/decoding/dib/DibStore.h"

#include <cstring>
#include <vector>

namespace tessaly {

namespace {

unsigned widen(uint32_t pixel, const DibChannel& c, DibWidening widening) {
    if (c.mask == 0)
        return 255;
    const uint64_t value = (pixel & c.mask) >> c.shift;
    if (widening == DibWidening::Truncated)
        return unsigned(value * 255 / c.max);
    if (c.bits >= 8 && (c.max >> (c.bits - 8)) == 255)
        return unsigned(value >> (c.bits - 8));
    return unsigned((value * 255 + c.max / 2) / c.max);
}

void indexedRow(const DibInfo& info, const uint8_t* src, QRgb* out, const ByteReader& reader,
                const DibPolicy& policy) {
    const int bits = info.bitCount;
    const unsigned valueMask = (1u << bits) - 1;
    for (int x = 0; x < info.width; ++x) {
        const std::size_t bit = std::size_t(x) * bits;
        const unsigned index = (src[bit / 8] >> (8 - bits - int(bit % 8))) & valueMask;
        out[x] = dibPaletteColour(info, index, reader, policy);
    }
}

void maskedRow(const DibInfo& info, const uint8_t* src, QRgb* out, DibWidening widening) {
    const bool wide = info.bitCount == 32;
    for (int x = 0; x < info.width; ++x) {
        const uint32_t p = wide ? uint32_t(src[0]) | (uint32_t(src[1]) << 8) |
                                      (uint32_t(src[2]) << 16) | (uint32_t(src[3]) << 24)
                                : uint32_t(src[0]) | (uint32_t(src[1]) << 8);
        src += wide ? 4 : 2;
        out[x] = qRgba(widen(p, info.red, widening), widen(p, info.green, widening),
                       widen(p, info.blue, widening), widen(p, info.alpha, widening));
    }
}

void decodeRow(const DibInfo& info, const uint8_t* src, QRgb* out, const ByteReader& reader,
               const DibPolicy& policy) {
    if (info.bitCount <= 8) {
        indexedRow(info, src, out, reader, policy);
    } else if (info.bitCount == 24) {
        for (int x = 0; x < info.width; ++x, src += 3)
            out[x] = qRgb(src[2], src[1], src[0]);
    } else {
        maskedRow(info, src, out, policy.widening);
    }
}

void readUncompressed(const DibInfo& info, ByteReader& reader, QImage& image,
                      const DibPolicy& policy) {
    const std::size_t rowSize = info.rowSize();
    const std::size_t height = std::size_t(info.height);
    if (height != 0 && rowSize > reader.remaining() / height)
        reader.fail(); // the rows are not all there
    const uint8_t* data = reader.take(rowSize * height);
    // The file's rows have the picture's own layout.
    const bool copyRows = info.bitCount == 24 && image.format() == QImage::Format_BGR888;
    std::vector<QRgb> row(copyRows ? 0 : std::size_t(info.width));
    for (int i = 0; i < info.height; ++i) {
        const int y = info.topDown ? i : info.height - 1 - i;
        const uint8_t* src = data + std::size_t(i) * rowSize;
        if (copyRows) {
            std::memcpy(image.scanLine(y), src, std::size_t(info.width) * 3);
            continue;
        }
        decodeRow(info, src, row.data(), reader, policy);
        storeDibSpan(image, 0, y, row.data(), info.width);
    }
}

} // namespace

void readDibPixels(const DibInfo& info, ByteReader& reader, QImage& image,
                   const DibPolicy& policy) {
    if (info.isRle())
        readDibRle(info, reader, image, policy);
    else
        readUncompressed(info, reader, image, policy);
}

} // namespace tessaly
