#pragma once

#include "compositing/picture/Bitmap24.h"

#include <QByteArray>

namespace tessaly {

// The bitmap as an uncompressed 8-bit RGB TIFF file. Raises "TIFF error: %s" with libtiff's message
// when libtiff cannot write it.
QByteArray encodeTiff(const Bitmap24& bitmap);

} // namespace tessaly
