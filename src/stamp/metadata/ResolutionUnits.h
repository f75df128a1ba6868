#pragma once

#include "stamp/metadata/PhotoMetadata.h"

#include <cstdint>

namespace tessaly {

// A resolution in a JFIF header's terms: unit 0 (a ratio only), 1 (dots per
// inch) or 2 (dots per centimetre), whole numbers from 1 to 65535.
struct JfifDensity {
    int unit = 0;
    int x = 1, y = 1;
};
// Centimetres that are a whole number of inches (as a PNG's pixels per metre
// often are) become inches.
JfifDensity jfifDensity(const Resolution& resolution);

// A resolution in a PNG pHYs chunk's terms: unit 1 (pixels per metre) or 0
// (a ratio only), whole numbers from 1 to 2^31 - 1.
struct PngPhysical {
    int unit = 0;
    uint32_t x = 1, y = 1;
};
PngPhysical pngPhysical(const Resolution& resolution);

} // namespace tessaly
