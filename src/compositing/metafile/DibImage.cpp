#include "compositing/metafile/DibImage.h"

#include "compositing/metafile/DibRle.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace tessaly::metafile {

namespace {

// Large enough for any picture a metafile embeds in practice, small enough
// that a crafted header cannot make us allocate gigabytes.
constexpr int64_t kMaxDibPixels = int64_t(1) << 26;

struct DibHeader {
    int64_t width = 0;
    int64_t height = 0; // negative: rows top-down
    int bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    int entrySize = 4; // bytes per colour table entry
    std::array<uint32_t, 4> masks{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
};

enum Compression { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiJpeg = 4, BiPng = 5 };

DibHeader readHeader(RecordReader& in) {
    DibHeader h;
    const uint32_t size = in.u32();
    if (size == 12) {
        h.width = in.u16();
        h.height = in.i16();
        in.u16();
        h.bitCount = in.u16();
        h.entrySize = 3;
        return h;
    }
    if (size < 40)
        throwInvalid();
    h.width = in.i32();
    h.height = in.i32();
    in.u16();
    h.bitCount = in.u16();
    h.compression = in.u32();
    h.imageSize = in.u32();
    in.skip(8);
    h.coloursUsed = in.u32();
    in.skip(4);
    const bool masksInHeader = size >= 52;
    if (h.compression == BiBitfields || (masksInHeader && h.compression == 6)) {
        for (int i = 0; i < (size >= 56 ? 4 : 3); ++i)
            h.masks[i] = in.u32();
        if (h.compression == 6)
            h.compression = BiBitfields;
        if (masksInHeader)
            in.seek(size);
    } else {
        in.seek(size);
    }
    if (h.compression != BiBitfields && h.bitCount == 16)
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    return h;
}

// Writers disagree on the table's length when the header leaves it at 0:
// the table holds at most what its span has room for, after the rows when
// the rows follow it in the same span.
std::vector<QRgb> readColourTable(RecordReader& in, const DibHeader& h, DibColours colours,
                                  std::size_t rowsAfter) {
    std::size_t count = h.coloursUsed;
    if (count == 0 && h.bitCount <= 8)
        count = std::size_t(1) << h.bitCount;
    const std::size_t entry = colours == DibColours::PaletteIndices ? 2 : h.entrySize;
    const std::size_t room = in.remaining() > rowsAfter ? in.remaining() - rowsAfter : 0;
    count = std::min(count, room / entry);
    std::vector<QRgb> table;
    table.reserve(std::min<std::size_t>(count, 256));
    for (std::size_t i = 0; i < count; ++i) {
        if (entry == 2) {
            const int index = in.u16() & 0xFF; // no palette here: a grey ramp stands in
            table.push_back(qRgb(index, index, index));
            continue;
        }
        const uint8_t b = in.u8(), g = in.u8(), r = in.u8();
        if (entry == 4)
            in.u8();
        table.push_back(qRgb(r, g, b));
    }
    return table;
}

std::size_t rowBytes(const DibHeader& h) {
    if (h.compression != BiRgb && h.compression != BiBitfields)
        return 0;
    const uint64_t width = uint64_t(std::max<int64_t>(h.width, 0));
    const uint64_t height = uint64_t(std::abs(h.height));
    if (width > (1u << 30) || height > (1u << 30))
        return 0;
    const uint64_t bytes = ((width * uint64_t(h.bitCount) + 31) / 32) * 4 * height;
    return bytes > (uint64_t(1) << 40) ? 0 : std::size_t(bytes);
}

int maskValue(uint32_t pixel, uint32_t mask) {
    if (mask == 0)
        return 255;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return int(uint64_t((pixel & mask) >> shift) * 255 / max);
}

uint32_t pixelBits(const uint8_t* row, int64_t x, int bitCount) {
    switch (bitCount) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF;
    case 8:
        return row[x];
    case 16:
        return row[2 * x] | (row[2 * x + 1] << 8);
    case 24:
        return row[3 * x] | (row[3 * x + 1] << 8) | (uint32_t(row[3 * x + 2]) << 16);
    default:
        return row[4 * x] | (row[4 * x + 1] << 8) | (uint32_t(row[4 * x + 2]) << 16) |
               (uint32_t(row[4 * x + 3]) << 24);
    }
}

QRgb pixelColour(uint32_t value, const DibHeader& h, const std::vector<QRgb>& table, bool alpha) {
    if (h.bitCount <= 8)
        return value < table.size() ? table[value] : qRgb(0, 0, 0);
    if (h.bitCount == 24 || (h.bitCount == 32 && h.compression != BiBitfields))
        return alpha ? value : (value | 0xFF000000u);
    const int a = h.masks[3] && alpha ? maskValue(value, h.masks[3]) : 255;
    return qRgba(maskValue(value, h.masks[0]), maskValue(value, h.masks[1]),
                 maskValue(value, h.masks[2]), a);
}

QImage decodeRows(RecordReader& bits, const DibHeader& h, const std::vector<QRgb>& table,
                  bool alpha, std::size_t rowSize = 0) {
    const int width = int(h.width), height = int(std::abs(h.height));
    if (rowSize == 0)
        rowSize = ((std::size_t(width) * std::size_t(h.bitCount) + 31) / 32) * 4;
    if (rowSize * 8 < std::size_t(width) * std::size_t(h.bitCount))
        throwInvalid();
    if (!bits.has(rowSize * std::size_t(height)))
        throwInvalid();
    // Bitmaps with alpha come premultiplied, as GDI's AlphaBlend takes them.
    QImage image(width, height, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const auto* data = reinterpret_cast<const uint8_t*>(bits.data() + bits.position());
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + rowSize * std::size_t(h.height < 0 ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb c = pixelColour(pixelBits(row, x, h.bitCount), h, table, alpha);
            const int a = qAlpha(c);
            out[x] = alpha ? qRgba(std::min(qRed(c), a), std::min(qGreen(c), a),
                                   std::min(qBlue(c), a), a)
                           : c;
        }
    }
    return image;
}

bool drawable(const DibHeader& h) {
    static constexpr int depths[] = {1, 4, 8, 16, 24, 32};
    if (std::find(std::begin(depths), std::end(depths), h.bitCount) == std::end(depths))
        return false;
    const bool rle = (h.compression == BiRle8 && h.bitCount == 8) ||
                     (h.compression == BiRle4 && h.bitCount == 4);
    if (h.compression != BiRgb && h.compression != BiBitfields && !rle)
        return false;
    const int64_t height = std::abs(h.height);
    return h.width > 0 && height > 0 && h.width * height <= kMaxDibPixels;
}

QImage embeddedImage(RecordReader& bits, const DibHeader& h) {
    const std::size_t size =
        h.imageSize ? std::min<std::size_t>(h.imageSize, bits.remaining()) : bits.remaining();
    const QByteArray data = bits.bytes(size);
    QImage image;
    if (h.width * std::abs(h.height) <= kMaxDibPixels)
        image.loadFromData(data, h.compression == BiPng ? "PNG" : "JPEG");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage decodeWith(RecordReader& info, RecordReader& bits, bool packed, DibColours colours,
                  bool alpha) {
    const DibHeader h = readHeader(info);
    const auto table = readColourTable(info, h, colours, packed ? rowBytes(h) : 0);
    if (packed)
        bits = info.sub(info.position(), info.remaining());
    if (h.compression == BiJpeg || h.compression == BiPng)
        return embeddedImage(bits, h);
    if (!drawable(h))
        return QImage();
    if (h.compression == BiRle8 || h.compression == BiRle4)
        return decodeRle(bits, int(h.width), int(std::abs(h.height)), h.compression == BiRle4,
                         table);
    return decodeRows(bits, h, table, alpha && h.bitCount == 32);
}

} // namespace

QImage decodeDib(RecordReader info, RecordReader bits, DibColours colours, bool withAlpha) {
    return decodeWith(info, bits, false, colours, withAlpha);
}

QImage decodeBitmap16(RecordReader in, bool bitsAtEnd) {
    DibHeader h;
    in.u16(); // type
    h.width = in.i16();
    h.height = -int64_t(in.i16()); // rows top-down
    const std::size_t rowSize = in.u16();
    in.u8(); // planes
    h.bitCount = in.u8();
    const std::size_t size = rowSize * std::size_t(std::abs(h.height));
    if (bitsAtEnd && in.remaining() >= size)
        in.seek(in.size() - size);
    if (!drawable(h) || rowSize == 0 || !in.has(size))
        return QImage(); // writers disagree on this record; a solid brush stands in
    std::vector<QRgb> greys;
    const std::size_t levels = h.bitCount <= 8 ? std::size_t(1) << h.bitCount : 0;
    for (std::size_t i = 0; i < levels; ++i)
        greys.push_back(qRgb(int(255 * i / (levels - 1)), int(255 * i / (levels - 1)),
                             int(255 * i / (levels - 1))));
    return decodeRows(in, h, greys, false, rowSize);
}

QImage decodePackedDib(RecordReader dib, DibColours colours) {
    RecordReader bits;
    return decodeWith(dib, bits, true, colours, false);
}

} // namespace tessaly::metafile
