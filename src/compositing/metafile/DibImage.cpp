#include "compositing/metafile/DibImage.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibPixels.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tessaly::metafile {

namespace {

// Large enough for any picture a metafile embeds in practice, small enough
// that a crafted header cannot make us allocate gigabytes.
constexpr int64_t kMaxDibPixels = int64_t(1) << 26;

// A damaged bitmap is drawn as far as it goes, or left out; channels are
// widened by truncation.
constexpr DibPolicy kPlayback{true, DibWidening::Truncated};

ByteReader readerOf(const RecordReader& span) {
    return ByteReader(reinterpret_cast<const uint8_t*>(span.data()) + span.position(),
                      span.remaining(), throwInvalid);
}

bool drawableSize(const DibInfo& info) {
    return info.width > 0 && info.height > 0 &&
           int64_t(info.width) * int64_t(info.height) <= kMaxDibPixels;
}

// The bytes of uncompressed rows, which follow the colour table in a packed
// DIB; 0 where they cannot be known.
std::size_t rowBytes(const DibInfo& info) {
    if (info.compression != kDibRgb && info.compression != kDibBitFields &&
        info.compression != kDibAlphaBitFields)
        return 0;
    const uint64_t width = uint64_t(std::max(info.width, 0));
    const uint64_t height = uint64_t(info.height);
    if (width > (1u << 30) || height > (1u << 30))
        return 0;
    const uint64_t bytes = ((width * uint64_t(info.bitCount) + 31) / 32) * 4 * height;
    return bytes > (uint64_t(1) << 40) ? 0 : std::size_t(bytes);
}

QImage embeddedImage(ByteReader& bits, const DibInfo& info) {
    const std::size_t size =
        info.sizeImage ? std::min<std::size_t>(info.sizeImage, bits.remaining()) : bits.remaining();
    const auto* data = reinterpret_cast<const char*>(bits.take(size));
    QImage image;
    if (int64_t(info.width) * int64_t(info.height) <= kMaxDibPixels)
        image.loadFromData(QByteArray::fromRawData(data, qsizetype(size)),
                           info.compression == kDibPng ? "PNG" : "JPEG");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Bitmaps with alpha come premultiplied, as GDI's AlphaBlend takes them.
QImage drawPixels(const DibInfo& info, ByteReader& bits, bool alpha) {
    QImage image(info.width, info.height,
                 alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    if (info.isRle()) // what the runs skip keeps the first colour
        image.fill(info.palette.empty() ? qRgb(0, 0, 0) : info.palette[0]);
    readDibPixels(info, bits, image, kPlayback);
    return image;
}

QImage decodeWith(ByteReader& in, ByteReader* separateBits, DibColours colours, bool alpha) {
    DibInfo info = readDibHeader(in, kPlayback);
    readDibColourTable(info, in, kPlayback, colours, separateBits ? 0 : rowBytes(info));
    ByteReader bits = separateBits ? *separateBits : in.rest();
    if (info.compression == kDibJpeg || info.compression == kDibPng)
        return embeddedImage(bits, info);
    if (!info.drawable || !drawableSize(info))
        return QImage();
    return drawPixels(info, bits, alpha && info.bitCount == 32);
}

} // namespace

QImage decodeDib(RecordReader info, RecordReader bits, DibColours colours, bool withAlpha) {
    ByteReader in = readerOf(info);
    ByteReader rows = readerOf(bits);
    return decodeWith(in, &rows, colours, withAlpha);
}

QImage decodePackedDib(RecordReader dib, DibColours colours) {
    ByteReader in = readerOf(dib);
    return decodeWith(in, nullptr, colours, false);
}

QImage decodeBitmap16(RecordReader in, bool bitsAtEnd) {
    in.u16(); // type
    DibInfo info;
    info.width = in.i16();
    const int height = in.i16();
    info.height = std::abs(height);
    info.topDown = height > 0;
    info.rowStride = in.u16();
    in.u8(); // planes
    info.bitCount = in.u8();
    const std::size_t size = info.rowStride * std::size_t(info.height);
    if (bitsAtEnd && in.remaining() >= size)
        in.seek(in.size() - size);
    if (!isDibDepth(info.bitCount) || !drawableSize(info) || info.rowStride == 0 || !in.has(size))
        return QImage(); // writers disagree on this record; a solid brush stands in
    if (info.rowStride * 8 < std::size_t(info.width) * std::size_t(info.bitCount))
        throwInvalid();
    const std::size_t levels = info.bitCount <= 8 ? std::size_t(1) << info.bitCount : 0;
    for (std::size_t i = 0; i < levels; ++i) {
        const int grey = int(255 * i / (levels - 1));
        info.palette.push_back(qRgb(grey, grey, grey));
    }
    setDefaultMasks(info);
    ByteReader bits = readerOf(in);
    return drawPixels(info, bits, false);
}

} // namespace tessaly::metafile
