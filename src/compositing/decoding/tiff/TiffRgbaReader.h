#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"

#include <QImage>
#include <tiffio.h>

namespace tessaly {

// Reads a directory through libtiff's RGBA conversion (palette, bilevel and
// 2- or 4-bit grey, YCbCr and JPEG, CIE L*a*b*, LogLuv, and the 8- and 16-bit
// layouts it reads right): the picture as stored (not yet turned upright),
// with straight alpha (ARGB32). Raises "Invalid image" for what libtiff
// cannot convert.
QImage readByRgba(TIFF* tif, const TiffLayout& layout);

} // namespace tessaly
