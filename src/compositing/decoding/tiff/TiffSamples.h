#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"

#include <cstddef>
#include <cstdint>

namespace tessaly {

int sampleBytes(SampleType type);

// Widens `count` samples of one channel, `stride` bytes apart from `from`, to
// 16 bits, writing every `toStride`-th value of `to`: integers scaled to the
// full range (rounded), floating point clamped to 0..1 (not-a-number as 0).
// The samples are in the machine's byte order, as libtiff delivers them.
void widenSamples(const uint8_t* from, std::size_t stride, int count, SampleType type, uint16_t* to,
                  int toStride);

// Makes `count` pixels from their widened samples (layout.usedSamples() a
// pixel: the colours, then alpha) into a row of the picture: blue, green,
// red without alpha (QImage::Format_BGR888), straight-alpha QRgb values with
// it. 16 bits become 8 by v * 255 / 65535 rounded; CMYK inks become
// (255 - C) * (255 - K) / 255 and so on, as for CMYK JPEG files.
void composePixels(const uint16_t* samples, int count, const TiffLayout& layout, uint8_t* row);

} // namespace tessaly
