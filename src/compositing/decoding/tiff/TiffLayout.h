#pragma once

#include <cstdint>
#include <tiffio.h>

namespace tessaly {

// How one sample is stored, for the layouts read sample by sample: unsigned
// integers of 8, 16, 24, 32 bits or of 1 to 15 bits (packed), or IEEE
// floating point.
enum class SampleType { Unsupported, U8, U16, U24, U32, Packed, F16, F32, F64 };

// What the first directory of a TIFF file holds, as far as choosing a reader
// and driving it needs.
struct TiffLayout {
    enum class Colour { Other, Grey, GreyInverted, Rgb, Cmyk };
    enum class Alpha { None, Straight, Premultiplied };

    uint32_t width = 0;
    uint32_t height = 0;
    int orientation = 1; // the Orientation tag, 1 to 8
    uint16_t samplesPerPixel = 1;
    uint16_t bitsPerSample = 1;
    SampleType sampleType = SampleType::Unsupported;
    bool planar = false; // one plane per sample instead of interleaved pixels
    bool tiled = false;
    Colour colour = Colour::Other;
    int colourSamples = 0; // 1, 3 or 4 for the colours above
    Alpha alpha = Alpha::None;
    // The ExtraSamples tag calls the alpha sample "unspecified" (or does not
    // exist while there are more samples than colours).
    bool alphaUnspecified = false;

    int alphaSample() const { return colourSamples; }
    int usedSamples() const { return colourSamples + (alpha == Alpha::None ? 0 : 1); }
};

// Reads the tags. Raises "Invalid image" without a size, and the program's
// size error for a picture over its limit.
TiffLayout readLayout(TIFF* tif);

// Whether the directory is read from its samples by our own reader rather
// than by libtiff's RGBA conversion, which cannot read floating-point,
// 24- or 32-bit samples, RGB of other than 8 or 16 bits, or 16-bit CMYK, and
// reads some layouts wrongly.
bool readsBySamples(const TiffLayout& layout);

} // namespace tessaly
