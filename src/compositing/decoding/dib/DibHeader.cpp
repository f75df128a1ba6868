#include "compositing/decoding/dib/DibHeader.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/ByteReader.h"

#include <bit>

namespace tessaly {

namespace {

constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kOs2Header = 64;

bool knownHeaderSize(uint32_t size) {
    return size == kCoreHeader || size == kInfoHeader || size == 52 || size == 56 ||
           size == kOs2Header || size == 108 || size == 124;
}

DibChannel channel(uint32_t mask, ByteReader& reader, bool required) {
    DibChannel c;
    if (mask == 0) {
        if (required)
            reader.fail(); // a colour with no bits cannot be shown
        return c;
    }
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    if ((mask >> c.shift) != (uint32_t(0xFFFFFFFF) >> (32 - c.bits)))
        reader.fail(); // bits of one channel must lie together
    return c;
}

void setMasks(DibInfo& info, const uint32_t masks[4], ByteReader& reader) {
    info.red = channel(masks[0], reader, true);
    info.green = channel(masks[1], reader, true);
    info.blue = channel(masks[2], reader, true);
    info.alpha = channel(masks[3], reader, false);
}

void setDefaultMasks(DibInfo& info, ByteReader& reader) {
    const uint32_t rgb16[4] = {0x7C00, 0x03E0, 0x001F, 0};
    const uint32_t rgb32[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    setMasks(info, info.bitCount == 16 ? rgb16 : rgb32, reader);
}

bool validCombination(const DibInfo& info, uint32_t headerSize) {
    switch (info.compression) {
    case kDibRgb:
        return true;
    case kDibRle8:
        return info.bitCount == 8 && !info.topDown;
    case kDibRle4:
        return info.bitCount == 4 && !info.topDown;
    case kDibBitFields:
    case kDibAlphaBitFields:
        // The OS/2 header uses these numbers for other compressions.
        return (info.bitCount == 16 || info.bitCount == 32) && headerSize != kOs2Header;
    default:
        return false;
    }
}

void readPalette(DibInfo& info, ByteReader& reader, uint32_t used, std::size_t entrySize) {
    const uint32_t full = uint32_t(1) << info.bitCount;
    const uint32_t count = used == 0 ? full : used;
    if (count > full)
        reader.fail();
    const uint8_t* p = reader.take(std::size_t(count) * entrySize);
    info.palette.resize(count);
    for (uint32_t i = 0; i < count; ++i, p += entrySize)
        info.palette[i] = qRgb(p[2], p[1], p[0]);
}

// The 12-byte header of OS/2 1.x: 16-bit sizes, 3-byte palette entries.
DibInfo readCoreHeader(ByteReader& reader) {
    DibInfo info;
    info.width = reader.u16();
    info.height = reader.u16();
    if (reader.u16() != 1)
        reader.fail();
    info.bitCount = reader.u16();
    if (info.width == 0 || info.height == 0 ||
        (info.bitCount != 1 && info.bitCount != 4 && info.bitCount != 8 && info.bitCount != 24))
        reader.fail();
    checkPictureSize(info.width, info.height);
    if (info.bitCount <= 8)
        readPalette(info, reader, 0, 3);
    return info;
}

void readMasks(DibInfo& info, ByteReader& reader, uint32_t headerSize) {
    // Masks follow a 40-byte header; larger headers hold them inside.
    uint32_t masks[4] = {0, 0, 0, 0};
    const std::size_t start = reader.pos();
    if (headerSize == kInfoHeader && info.compression == kDibBitFields) {
        for (int i = 0; i < 3; ++i)
            masks[i] = reader.u32();
    } else if (headerSize == kInfoHeader && info.compression == kDibAlphaBitFields) {
        for (int i = 0; i < 4; ++i)
            masks[i] = reader.u32();
    } else if (headerSize >= 52 && headerSize != kOs2Header) {
        for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
            masks[i] = reader.u32();
        reader.seek(start - kInfoHeader + headerSize);
    }
    if (info.compression == kDibBitFields || info.compression == kDibAlphaBitFields)
        setMasks(info, masks, reader);
    else if (info.bitCount == 16 || info.bitCount == 32)
        setDefaultMasks(info, reader);
}

DibInfo readInfoHeader(ByteReader& reader, uint32_t headerSize) {
    const std::size_t start = reader.pos() - 4;
    DibInfo info;
    info.width = reader.i32();
    const int32_t height = reader.i32();
    const bool onePlane = reader.u16() == 1;
    info.bitCount = reader.u16();
    info.compression = reader.u32();
    info.sizeImage = reader.u32();
    reader.skip(8); // resolution: no bearing on the pixels
    const uint32_t used = reader.u32();
    reader.skip(4);
    if (!onePlane || info.width <= 0 || height == 0 || height == INT32_MIN)
        reader.fail();
    info.topDown = height < 0;
    info.height = height < 0 ? -height : height;
    const int bits = info.bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        reader.fail();
    if (!validCombination(info, headerSize))
        reader.fail();
    checkPictureSize(info.width, info.height);
    readMasks(info, reader, headerSize);
    if (headerSize == kOs2Header)
        reader.seek(start + kOs2Header);
    if (bits <= 8)
        readPalette(info, reader, used, 4);
    return info;
}

} // namespace

DibInfo readDibInfo(ByteReader& reader) {
    const uint32_t headerSize = reader.u32();
    if (!knownHeaderSize(headerSize))
        reader.fail();
    if (headerSize == kCoreHeader)
        return readCoreHeader(reader);
    return readInfoHeader(reader, headerSize);
}

} // namespace tessaly
