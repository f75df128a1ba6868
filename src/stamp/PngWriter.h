#pragma once

#include "compositing/picture/Bitmap24.h"

#include <QByteArray>

namespace tessaly {

// The bitmap as an 8-bit RGB PNG file, with the EXIF block in an eXIf chunk
// when one is given. Raises "PNG error: %s" with libpng's message.
QByteArray encodePng(const Bitmap24& bitmap, const QByteArray& exif);

} // namespace tessaly
