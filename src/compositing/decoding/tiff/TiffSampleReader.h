#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"

#include <QImage>
#include <tiffio.h>

namespace tessaly {

// Reads a directory that readsBySamples() takes from its strips or tiles:
// the picture as stored (not yet turned upright), opaque (BGR888) or with
// straight alpha (ARGB32). Raises "Invalid image" for a damaged file.
QImage readBySamples(TIFF* tif, const TiffLayout& layout);

} // namespace tessaly
