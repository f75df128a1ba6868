#pragma once

#include "compositing/picture/Bitmap24.h"

#include <QByteArray>

namespace tessaly {

// The bitmap as a baseline JPEG file of the given quality (1 to 100), with the
// EXIF block (TIFF header onward, at most kMaxExifBytes) in an APP1 segment
// when one is given. Raises "JPEG error #%d" with libjpeg's message code.
QByteArray encodeJpeg(const Bitmap24& bitmap, int quality, const QByteArray& exif);

} // namespace tessaly
