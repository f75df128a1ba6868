#pragma once

#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// TIFF files: the first image of the file, converted to colour with alpha and
// blended over white by its alpha, and turned upright by its Orientation tag.
// The layouts of 8, 16 and 32-bit or floating-point RGB, grey and CMYK
// samples that libtiff's RGBA conversion cannot read, or reads wrongly, are
// read from their strips or tiles by our own reader (decoding/tiff/).
// Raises "Invalid image".
std::unique_ptr<Picture> decodeTiff(const QByteArray& bytes);

} // namespace tessaly
