#pragma once

#include "compositing/picture/Bitmap24.h"

#include <cstring>
#include <random>

namespace tessaly::test {

// A bitmap of random pixels (padding bytes too), the same for the same seed.
inline Bitmap24 randomBitmap(int width, int height, unsigned seed) {
    Bitmap24 b;
    b.resize(width, height);
    std::mt19937 gen(seed);
    for (std::size_t i = 0; i < b.byteSize(); ++i)
        b.bits()[i] = uint8_t(gen());
    return b;
}

inline bool sameBytes(const Bitmap24& a, const Bitmap24& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.bits(), b.bits(), a.byteSize()) == 0;
}

inline void setPixel(Bitmap24& b, int x, int y, uint8_t blue, uint8_t green, uint8_t red) {
    uint8_t* p = b.scanLine(y) + x * 3;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
}

} // namespace tessaly::test
