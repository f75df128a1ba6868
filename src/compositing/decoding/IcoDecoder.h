#pragma once

#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// Windows icon files. Of the images in the file, the one nearest to the
// standard icon size (32 x 32) is decoded, more colours preferred among
// equally near ones. Bitmap images leave the pixels their mask excludes white
// (32-bit ones use their alpha instead); PNG images go through the PNG
// decoder. Raises "Icon image is not valid".
std::unique_ptr<Picture> decodeIco(const QByteArray& bytes);

} // namespace tessaly
