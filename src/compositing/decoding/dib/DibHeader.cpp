#include "compositing/decoding/dib/DibHeader.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/picture/Bitmap24.h"

#include <bit>
#include <climits>

namespace tessaly {

namespace {

constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kOs2Header = 64;

bool knownHeaderSize(uint32_t size) {
    return size == kCoreHeader || size == kInfoHeader || size == 52 || size == 56 ||
           size == kOs2Header || size == 108 || size == 124;
}

// Raises under the file policy; leaves the bitmap out under the other one.
void refuse(DibInfo& info, ByteReader& reader, const DibPolicy& policy) {
    if (!policy.drawDamaged)
        reader.fail();
    info.drawable = false;
}

DibChannel channel(uint32_t mask) {
    DibChannel c;
    if (mask == 0)
        return c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    c.max = mask >> c.shift;
    return c;
}

// A colour with no bits cannot be shown, and the bits of one channel must
// lie together.
bool sensible(const DibChannel& c, bool required) {
    if (c.mask == 0)
        return !required;
    return c.max == (uint32_t(0xFFFFFFFF) >> (32 - c.bits));
}

void setMasks(DibInfo& info, const uint32_t masks[4]) {
    info.red = channel(masks[0]);
    info.green = channel(masks[1]);
    info.blue = channel(masks[2]);
    info.alpha = channel(masks[3]);
}

bool validDepth(const DibInfo& info) {
    const int bits = info.bitCount;
    if (info.headerSize == kCoreHeader)
        return bits == 1 || bits == 4 || bits == 8 || bits == 24;
    return isDibDepth(bits);
}

bool validCombination(DibInfo& info, const DibPolicy& policy) {
    switch (info.compression) {
    case kDibRgb:
        return true;
    case kDibRle8:
    case kDibRle4:
        if (info.bitCount != (info.compression == kDibRle8 ? 8 : 4))
            return false;
        if (info.topDown && policy.drawDamaged)
            info.topDown = false; // run data are always stored bottom-up
        return !info.topDown;
    case kDibBitFields:
    case kDibAlphaBitFields:
        // The OS/2 header uses these numbers for other compressions. Bit
        // fields on a depth without masks are ignored by playback.
        return info.headerSize != kOs2Header &&
               (info.bitCount == 16 || info.bitCount == 32 || policy.drawDamaged);
    default:
        return false;
    }
}

// The 12-byte header of OS/2 1.x: 16-bit sizes, 3-byte palette entries.
void readCoreHeader(DibInfo& info, ByteReader& reader, const DibPolicy& policy) {
    info.width = reader.u16();
    info.height = reader.u16();
    const bool onePlane = reader.u16() == 1;
    info.bitCount = reader.u16();
    info.entrySize = 3;
    if ((!onePlane && !policy.drawDamaged) || info.width == 0 || info.height == 0 ||
        !validDepth(info))
        refuse(info, reader, policy);
}

void readMasks(DibInfo& info, ByteReader& reader, std::size_t headerEnd) {
    // Masks follow a 40-byte header; larger headers hold them inside.
    uint32_t masks[4] = {0, 0, 0, 0};
    const bool bitFields =
        info.compression == kDibBitFields || info.compression == kDibAlphaBitFields;
    if (info.headerSize >= 52 && info.headerSize != kOs2Header) {
        for (int i = 0; i < (info.headerSize >= 56 ? 4 : 3); ++i)
            masks[i] = reader.u32();
        reader.seek(headerEnd);
    } else {
        reader.seek(headerEnd);
        const int count = info.compression == kDibAlphaBitFields ? 4 : 3;
        for (int i = 0; bitFields && i < count; ++i)
            masks[i] = reader.u32();
    }
    if (bitFields)
        setMasks(info, masks);
    else
        setDefaultMasks(info);
}

void readInfoHeader(DibInfo& info, ByteReader& reader, const DibPolicy& policy) {
    const std::size_t headerEnd = reader.pos() - 4 + info.headerSize;
    info.width = reader.i32();
    const int32_t height = reader.i32();
    const bool onePlane = reader.u16() == 1;
    info.bitCount = reader.u16();
    info.compression = reader.u32();
    info.sizeImage = reader.u32();
    reader.skip(8); // resolution: no bearing on the pixels
    info.coloursUsed = reader.u32();
    reader.skip(4);
    info.topDown = height < 0;
    info.height = height == INT32_MIN ? 0 : height < 0 ? -height : height;
    readMasks(info, reader, headerEnd);
    const bool masksSensible = info.bitCount <= 8 || info.bitCount == 24 ||
                               (sensible(info.red, true) && sensible(info.green, true) &&
                                sensible(info.blue, true) && sensible(info.alpha, false));
    if ((!onePlane || !masksSensible) && !policy.drawDamaged)
        reader.fail();
    if (info.width <= 0 || info.height == 0 || !validDepth(info) || !validCombination(info, policy))
        refuse(info, reader, policy);
}

} // namespace

bool isDibDepth(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

void setDefaultMasks(DibInfo& info) {
    const uint32_t rgb16[4] = {0x7C00, 0x03E0, 0x001F, 0};
    const uint32_t rgb32[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    setMasks(info, info.bitCount == 16 ? rgb16 : rgb32);
}

DibInfo readDibHeader(ByteReader& reader, const DibPolicy& policy) {
    DibInfo info;
    info.headerSize = reader.u32();
    const bool known = knownHeaderSize(info.headerSize);
    if (info.headerSize != kCoreHeader &&
        (info.headerSize < kInfoHeader || (!known && !policy.drawDamaged)))
        reader.fail();
    if (info.headerSize == kCoreHeader)
        readCoreHeader(info, reader, policy);
    else
        readInfoHeader(info, reader, policy);
    if (!policy.drawDamaged)
        checkPictureSize(info.width, info.height);
    return info;
}

} // namespace tessaly
