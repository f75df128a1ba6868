#pragma once

#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// TIFF files: the first image of the file, converted to colour with alpha and
// blended over white by its alpha. Raises "Invalid image".
std::unique_ptr<Picture> decodeTiff(const QByteArray& bytes);

} // namespace tessaly
