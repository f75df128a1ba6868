#pragma once

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
    kDibAlphaBitFields = 6,
};

// One colour channel of a 16- or 32-bit pixel: where its bits lie.
struct DibChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

// What the header of a device-independent bitmap says, checked for sense:
// the part a BMP file and an icon entry have in common.
struct DibInfo {
    int width = 0;
    int height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kDibRgb;
    uint32_t sizeImage = 0;
    DibChannel red, green, blue, alpha; // 16- and 32-bit pixels only
    std::vector<QRgb> palette;          // opaque colours, 1- to 8-bit pixels only

    bool isRle() const { return compression == kDibRle4 || compression == kDibRle8; }
    // Bytes of one uncompressed row in the file, padded to 4 bytes.
    std::size_t rowSize() const { return ((std::size_t(width) * bitCount + 31) / 32) * 4; }
};

// Reads the header, its colour masks and its palette from the reader's
// position; the reader is left just after the palette. Raises the reader's
// "not valid" error for anything the pixel readers could not handle safely,
// and the size-limit error for a picture over the program's limit.
DibInfo readDibInfo(ByteReader& reader);

} // namespace tessaly
