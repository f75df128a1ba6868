#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"

#include <cstdint>

namespace tessaly {

// The samples of one channel along a row of pixels: `count` samples, the
// first `firstBit` bits into `row`, each `bitStride` bits after the one
// before. Samples narrower than a byte are packed most significant bit
// first, wider ones are in the machine's byte order, as libtiff delivers
// them.
struct SampleRun {
    const uint8_t* row;
    uint64_t firstBit;
    uint64_t bitStride;
    int count;
};

// The bits one sample of the layout takes.
int sampleBits(const TiffLayout& layout);

// Widens the samples of `run` to 16 bits, writing every `toStride`-th value
// of `to`: integers scaled to the full range (rounded), floating point
// clamped to 0..1 (not-a-number as 0).
void widenSamples(const SampleRun& run, const TiffLayout& layout, uint16_t* to, int toStride);

} // namespace tessaly
