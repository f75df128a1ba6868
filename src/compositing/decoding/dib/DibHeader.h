#pragma once

#include "compositing/decoding/dib/DibPolicy.h"

#include <cstddef>
#include <cstdint>
#include <QRgb>
#include <vector>

namespace tessaly {

class ByteReader;

// Compression values of the device-independent bitmap header.
enum DibCompression : uint32_t {
    kDibRgb = 0,
    kDibRle8 = 1,
    kDibRle4 = 2,
    kDibBitFields = 3,
    kDibJpeg = 4,
    kDibPng = 5,
    kDibAlphaBitFields = 6,
};

// One colour channel of a 16- or 32-bit pixel: where its bits lie.
struct DibChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    uint32_t max = 0; // mask >> shift: the channel's largest value
};

// What the header of a device-independent bitmap says: the part that a BMP
// file, an icon image and a metafile bitmap have in common.
struct DibInfo {
    uint32_t headerSize = 0;
    int width = 0;
    int height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kDibRgb;
    uint32_t sizeImage = 0;
    uint32_t coloursUsed = 0;
    int entrySize = 4;                  // bytes of one colour table entry in the file
    bool drawable = true;               // false only where the policy leaves damaged bitmaps out
    std::size_t rowStride = 0;          // bytes of an uncompressed row; 0: padded to 4 bytes
    DibChannel red, green, blue, alpha; // 16- and 32-bit pixels only
    std::vector<QRgb> palette;          // opaque colours, 1- to 8-bit pixels only

    bool isRle() const { return compression == kDibRle4 || compression == kDibRle8; }
    // Bytes of one uncompressed row.
    std::size_t rowSize() const {
        return rowStride ? rowStride : ((std::size_t(width) * std::size_t(bitCount) + 31) / 32) * 4;
    }
};

// Reads the header and its colour masks from the reader's position, which is
// left at the colour table. Raises the reader's "not valid" error for a
// header too short or cut off, and for anything else the pixel readers could
// not handle unless the policy draws damaged bitmaps, which marks them not
// drawable instead. Under the file policy a picture over the program's size
// limit raises the size-limit error; other callers check their own limit.
DibInfo readDibHeader(ByteReader& reader, const DibPolicy& policy);

// Whether a bitmap can have pixels of this many bits.
bool isDibDepth(int bitCount);

// The masks that 16- and 32-bit pixels have without bit fields.
void setDefaultMasks(DibInfo& info);

} // namespace tessaly
