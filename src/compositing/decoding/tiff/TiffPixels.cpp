#include "compositing/decoding/tiff/TiffPixels.h"

#include <algorithm>
#include <QRgb>

namespace tessaly {

namespace {

uint8_t to8(unsigned v) {
    return uint8_t((v * 255 + 32767) / 65535);
}

uint16_t unpremultiply(unsigned c, unsigned a) {
    return a == 0 ? 0 : uint16_t(std::min(65535u, (c * 65535 + a / 2) / a));
}

uint16_t inkToColour(unsigned ink, unsigned black) {
    return uint16_t(((65535 - ink) * (65535 - black) + 32767) / 65535);
}

struct Rgb16 {
    unsigned r, g, b;
};

// One pixel's colour; the colour samples are straight (not premultiplied).
Rgb16 colourOf(const unsigned* s, TiffLayout::Colour colour) {
    switch (colour) {
    case TiffLayout::Colour::Grey:
        return {s[0], s[0], s[0]};
    case TiffLayout::Colour::GreyInverted:
        return {65535 - s[0], 65535 - s[0], 65535 - s[0]};
    case TiffLayout::Colour::Cmyk:
        return {inkToColour(s[0], s[3]), inkToColour(s[1], s[3]), inkToColour(s[2], s[3])};
    default:
        return {s[0], s[1], s[2]};
    }
}

} // namespace

void composePixels(const uint16_t* samples, int count, const TiffLayout& layout, uint8_t* row) {
    const int perPixel = layout.usedSamples();
    const int colours = layout.colourSamples;
    const bool alpha = layout.alpha != TiffLayout::Alpha::None;
    const bool premultiplied = layout.alpha == TiffLayout::Alpha::Premultiplied;
    auto* argb = reinterpret_cast<QRgb*>(row);
    for (int x = 0; x < count; ++x, samples += perPixel) {
        unsigned s[4] = {};
        const unsigned a = alpha ? samples[colours] : 65535;
        for (int c = 0; c < colours; ++c)
            s[c] = premultiplied ? unpremultiply(samples[c], a) : samples[c];
        const Rgb16 p = colourOf(s, layout.colour);
        if (alpha) {
            argb[x] = qRgba(to8(p.r), to8(p.g), to8(p.b), to8(a));
        } else {
            row[3 * x] = to8(p.b);
            row[3 * x + 1] = to8(p.g);
            row[3 * x + 2] = to8(p.r);
        }
    }
}

} // namespace tessaly
