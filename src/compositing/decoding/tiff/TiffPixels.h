#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"

#include <cstdint>

namespace tessaly {

// Makes `count` pixels from their widened samples (layout.usedSamples() a
// pixel: the colours, then alpha) into a row of the picture: blue, green,
// red without alpha (QImage::Format_BGR888), straight-alpha QRgb values with
// it. 16 bits become 8 by v * 255 / 65535 rounded; CMYK inks become
// (255 - C) * (255 - K) / 255 and so on, as for CMYK JPEG files.
void composePixels(const uint16_t* samples, int count, const TiffLayout& layout, uint8_t* row);

} // namespace tessaly
