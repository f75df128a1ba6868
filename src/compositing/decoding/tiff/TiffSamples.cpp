#include "compositing/decoding/tiff/TiffSamples.h"

#include <bit>
#include <cmath>
#include <cstring>

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

// Samples that start on a byte, `stride` bytes apart.
template <typename Widen>
void widenBytes(const SampleRun& run, uint16_t* to, int toStride, Widen widen) {
    const uint8_t* from = run.row + run.firstBit / 8;
    const std::size_t stride = run.bitStride / 8;
    for (int i = 0; i < run.count; ++i, from += stride, to += toStride)
        *to = widen(from);
}

// Samples of 1 to 15 bits at any bit: only the bytes that hold the sample
// are read.
void widenPacked(const SampleRun& run, int bits, uint16_t* to, int toStride) {
    const uint32_t max = (uint32_t(1) << bits) - 1;
    uint64_t bit = run.firstBit;
    for (int i = 0; i < run.count; ++i, bit += run.bitStride, to += toStride) {
        const uint8_t* p = run.row + bit / 8;
        const int skip = int(bit % 8);
        const int bytes = (skip + bits + 7) / 8;
        uint32_t v = 0;
        for (int b = 0; b < bytes; ++b)
            v = v << 8 | p[b];
        *to = scaled((v >> (bytes * 8 - skip - bits)) & max, max);
    }
}

} // namespace

int sampleBits(const TiffLayout& layout) {
    switch (layout.sampleType) {
    case SampleType::U8:
        return 8;
    case SampleType::U16:
    case SampleType::F16:
        return 16;
    case SampleType::U24:
        return 24;
    case SampleType::U32:
    case SampleType::F32:
        return 32;
    case SampleType::F64:
        return 64;
    case SampleType::Packed:
        return layout.bitsPerSample;
    default:
        return 0;
    }
}

void widenSamples(const SampleRun& run, const TiffLayout& layout, uint16_t* to, int toStride) {
    switch (layout.sampleType) {
    case SampleType::U8:
        return widenBytes(run, to, toStride, [](const uint8_t* p) { return uint16_t(*p * 257); });
    case SampleType::U16:
        return widenBytes(run, to, toStride, load<uint16_t>);
    case SampleType::U24:
        return widenBytes(run, to, toStride,
                          [](const uint8_t* p) { return scaled(load24(p), 0xFFFFFF); });
    case SampleType::U32:
        return widenBytes(run, to, toStride,
                          [](const uint8_t* p) { return scaled(load<uint32_t>(p), 0xFFFFFFFF); });
    case SampleType::F16:
        return widenBytes(run, to, toStride,
                          [](const uint8_t* p) { return fromUnit(halfValue(load<uint16_t>(p))); });
    case SampleType::F32:
        return widenBytes(run, to, toStride,
                          [](const uint8_t* p) { return fromUnit(load<float>(p)); });
    case SampleType::F64:
        return widenBytes(run, to, toStride,
                          [](const uint8_t* p) { return fromUnit(load<double>(p)); });
    case SampleType::Packed:
        return widenPacked(run, layout.bitsPerSample, to, toStride);
    case SampleType::Unsupported:
        break;
    }
}

} // namespace tessaly
