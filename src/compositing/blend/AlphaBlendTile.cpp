#include "compositing/blend/AlphaBlendTile.h"

#include "platform/Error.h"

#include <algorithm>
#include <array>

namespace tessaly {

namespace {

// Entry d + 255 holds Alpha x d shifted right by 8 arithmetically. The product
// is taken modulo 2^32 and the entry modulo 2^16, so any Alpha is defined;
// only the low byte of an entry ever reaches a pixel.
using BlendTable = std::array<int16_t, 511>;

BlendTable blendTable(int32_t alpha) {
    BlendTable table;
    for (int d = -255; d <= 255; ++d) {
        const auto product = static_cast<int32_t>(uint32_t(alpha) * uint32_t(d));
        table[std::size_t(d + 255)] = static_cast<int16_t>(product >> 8);
    }
    return table;
}

struct Span {
    int64_t left, top, right, bottom; // inclusive
    bool empty() const { return left > right || top > bottom; }
};

// 64-bit bounds: a tile placed near the end of the int32 range must not wrap
// around into Dest.
Span overlap(const Bitmap24& dest, const Bitmap24& src, int32_t x, int32_t y) {
    return {std::max<int64_t>(x, 0), std::max<int64_t>(y, 0),
            std::min<int64_t>(int64_t(x) + src.width() - 1, dest.width() - 1),
            std::min<int64_t>(int64_t(y) + src.height() - 1, dest.height() - 1)};
}

bool isKey(const uint8_t* pixel, const uint8_t* key) {
    return pixel[0] == key[0] && pixel[1] == key[1] && pixel[2] == key[2];
}

} // namespace

void requireDepth24(const Bitmap24& a, const Bitmap24& b) {
    if (a.bitsPerPixel() != 24 || b.bitsPerPixel() != 24)
        throw Error(QStringLiteral("Bitmaps must be 24 bit"));
}

bool AlphaBlendTile(Bitmap24& Dest, const Bitmap24& Src, int32_t X, int32_t Y, int32_t Alpha) {
    requireDepth24(Dest, Src);
    const BlendTable table = blendTable(Alpha);
    const Span r = overlap(Dest, Src, X, Y);
    if (r.empty())
        return false;
    const bool keyed = Src.colourKeyed();
    const uint8_t* key = keyed ? Src.bits() : nullptr; // column 0 of the bottom row
    for (int64_t y = r.top; y <= r.bottom; ++y) {
        uint8_t* d = Dest.scanLine(int(y)) + r.left * 3;
        const uint8_t* s = Src.scanLine(int(y - Y)) + (r.left - X) * 3;
        for (int64_t x = r.left; x <= r.right; ++x, d += 3, s += 3) {
            if (keyed && isKey(s, key))
                continue;
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t(s[c] + table[std::size_t(d[c] - s[c] + 255)]);
        }
    }
    return true;
}

} // namespace tessaly
