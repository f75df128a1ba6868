#pragma once

#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// Windows and OS/2 bitmap files: 1-, 2-, 4-, 8-, 16-, 24- and 32-bit pixels,
// RLE4 and RLE8, bit-field masks, top-down rows. The picture is opaque: the
// fourth byte of 32-bit pixels is ignored. Raises "Bitmap image is not valid".
std::unique_ptr<Picture> decodeBmp(const QByteArray& bytes);

} // namespace tessaly
