#include "compositing/decoding/tiff/TiffLayout.h"

#include "compositing/decoding/tiff/TiffFile.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Orientation.h"

namespace tessaly {

namespace {

uint16_t tag16(TIFF* tif, uint32_t tag) {
    uint16_t value = 0;
    TIFFGetFieldDefaulted(tif, tag, &value);
    return value;
}

SampleType sampleType(uint16_t format, uint16_t bits) {
    if (format == SAMPLEFORMAT_UINT || format == SAMPLEFORMAT_VOID) {
        switch (bits) {
        case 8:
            return SampleType::U8;
        case 16:
            return SampleType::U16;
        case 24:
            return SampleType::U24;
        case 32:
            return SampleType::U32;
        default:
            return bits >= 1 && bits < 16 ? SampleType::Packed : SampleType::Unsupported;
        }
    } else if (format == SAMPLEFORMAT_IEEEFP) {
        switch (bits) {
        case 16:
            return SampleType::F16;
        case 32:
            return SampleType::F32;
        case 64:
            return SampleType::F64;
        }
    }
    return SampleType::Unsupported;
}

void readColour(TIFF* tif, TiffLayout& layout) {
    using Colour = TiffLayout::Colour;
    switch (tag16(tif, TIFFTAG_PHOTOMETRIC)) {
    case PHOTOMETRIC_MINISBLACK:
        layout.colour = Colour::Grey, layout.colourSamples = 1;
        break;
    case PHOTOMETRIC_MINISWHITE:
        layout.colour = Colour::GreyInverted, layout.colourSamples = 1;
        break;
    case PHOTOMETRIC_RGB:
        layout.colour = Colour::Rgb, layout.colourSamples = 3;
        break;
    case PHOTOMETRIC_SEPARATED:
        if (tag16(tif, TIFFTAG_INKSET) == INKSET_CMYK && tag16(tif, TIFFTAG_NUMBEROFINKS) == 4)
            layout.colour = Colour::Cmyk, layout.colourSamples = 4;
        break;
    default:
        break;
    }
    if (layout.colourSamples > layout.samplesPerPixel)
        layout.colour = Colour::Other, layout.colourSamples = 0;
}

// The first sample after the colours is alpha unless the file says it holds
// something else. Associated alpha is premultiplied; "unspecified" is taken
// as straight alpha, as the programs that write it (GraphicsMagick, netpbm)
// and ImageMagick read it.
void readAlpha(TIFF* tif, TiffLayout& layout) {
    if (layout.colour == TiffLayout::Colour::Other ||
        layout.samplesPerPixel <= layout.colourSamples)
        return;
    uint16_t count = 0;
    const uint16_t* kinds = nullptr;
    const uint16_t kind = TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) && count > 0
                              ? kinds[0]
                              : EXTRASAMPLE_UNSPECIFIED;
    if (kind == EXTRASAMPLE_ASSOCALPHA)
        layout.alpha = TiffLayout::Alpha::Premultiplied;
    else if (kind == EXTRASAMPLE_UNASSALPHA || kind == EXTRASAMPLE_UNSPECIFIED)
        layout.alpha = TiffLayout::Alpha::Straight;
    layout.alphaUnspecified = kind == EXTRASAMPLE_UNSPECIFIED;
}

} // namespace

TiffLayout readLayout(TIFF* tif) {
    TiffLayout layout;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height) || layout.width == 0 ||
        layout.height == 0)
        failTiff();
    checkPictureSize(layout.width, layout.height);
    const int orientation = tag16(tif, TIFFTAG_ORIENTATION);
    layout.orientation = isOrientation(orientation) ? orientation : 1;
    layout.samplesPerPixel = tag16(tif, TIFFTAG_SAMPLESPERPIXEL);
    layout.bitsPerSample = tag16(tif, TIFFTAG_BITSPERSAMPLE);
    layout.sampleType = sampleType(tag16(tif, TIFFTAG_SAMPLEFORMAT), layout.bitsPerSample);
    layout.planar = tag16(tif, TIFFTAG_PLANARCONFIG) == PLANARCONFIG_SEPARATE;
    layout.tiled = TIFFIsTiled(tif);
    readColour(tif, layout);
    readAlpha(tif, layout);
    return layout;
}

bool readsBySamples(const TiffLayout& layout) {
    using Colour = TiffLayout::Colour;
    if (layout.colour == Colour::Other || layout.sampleType == SampleType::Unsupported)
        return false;
    const bool alpha = layout.alpha != TiffLayout::Alpha::None;
    if (layout.sampleType == SampleType::Packed) // libtiff takes 1, 2 and 4-bit grey only
        return alpha || layout.colour != Colour::Grey ||
               (layout.bitsPerSample != 1 && layout.bitsPerSample != 2 &&
                layout.bitsPerSample != 4);
    if (layout.sampleType != SampleType::U8 && layout.sampleType != SampleType::U16)
        return true; // floating point, 24 and 32 bits: libtiff refuses them
    if (layout.colour == Colour::Cmyk)
        return true; // libtiff takes 8-bit inks only, drops alpha, and truncates
    if (!alpha)
        return false;
    // With alpha, libtiff ignores the alpha of 16-bit grey, takes 8-bit grey
    // as premultiplied whatever the file says, premultiplies unspecified
    // alpha, and premultiplies 16-bit colour in 8 bits, which is two or three
    // steps off once blended.
    return layout.colour != Colour::Rgb || layout.alphaUnspecified ||
           layout.sampleType == SampleType::U16;
}

} // namespace tessaly
