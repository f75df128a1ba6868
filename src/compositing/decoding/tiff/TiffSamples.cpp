#include "compositing/decoding/tiff/TiffSamples.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <QRgb>

namespace tessaly {

namespace {

template <typename T> T load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A 24-bit sample in the machine's byte order.
uint32_t load24(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little)
        return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    else
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

// An integer of 0..max to 0..65535, rounded.
uint16_t scaled(uint64_t v, uint64_t max) {
    return uint16_t((v * 65535 + max / 2) / max);
}

uint16_t fromUnit(double v) {
    if (!(v > 0)) // also not-a-number
        return 0;
    return v >= 1 ? 65535 : uint16_t(v * 65535 + 0.5);
}

// IEEE 754 half precision: sign, 5 exponent bits, 10 fraction bits.
double halfValue(uint16_t h) {
    const int exponent = (h >> 10) & 0x1F;
    const int fraction = h & 0x3FF;
    double magnitude;
    if (exponent == 0)
        magnitude = std::ldexp(fraction, -24);
    else if (exponent == 31)
        magnitude = fraction ? NAN : INFINITY;
    else
        magnitude = std::ldexp(fraction + 1024, exponent - 25);
    return h & 0x8000 ? -magnitude : magnitude;
}

template <typename Widen>
void widenEach(const uint8_t* from, std::size_t stride, int count, uint16_t* to, int toStride,
               Widen widen) {
    for (int i = 0; i < count; ++i, from += stride, to += toStride)
        *to = widen(from);
}

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

int sampleBytes(SampleType type) {
    switch (type) {
    case SampleType::U8:
        return 1;
    case SampleType::U16:
    case SampleType::F16:
        return 2;
    case SampleType::U24:
        return 3;
    case SampleType::U32:
    case SampleType::F32:
        return 4;
    case SampleType::F64:
        return 8;
    default:
        return 0;
    }
}

void widenSamples(const uint8_t* from, std::size_t stride, int count, SampleType type, uint16_t* to,
                  int toStride) {
    switch (type) {
    case SampleType::U8:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return uint16_t(*p * 257); });
    case SampleType::U16:
        return widenEach(from, stride, count, to, toStride, load<uint16_t>);
    case SampleType::U24:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return scaled(load24(p), 0xFFFFFF); });
    case SampleType::U32:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return scaled(load<uint32_t>(p), 0xFFFFFFFF); });
    case SampleType::F16:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return fromUnit(halfValue(load<uint16_t>(p))); });
    case SampleType::F32:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return fromUnit(load<float>(p)); });
    case SampleType::F64:
        return widenEach(from, stride, count, to, toStride,
                         [](const uint8_t* p) { return fromUnit(load<double>(p)); });
    case SampleType::Unsupported:
        break;
    }
}

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
