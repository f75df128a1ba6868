#pragma once

#include "compositing/picture/Picture.h"

#include <QByteArray>

#include <memory>

namespace tessaly {

// Windows metafiles (wmf, with or without the placeable header) and enhanced
// metafiles (emf). Raise "Metafile is not valid" for a file they cannot play.
std::unique_ptr<Picture> decodeWmf(const QByteArray& bytes);
std::unique_ptr<Picture> decodeEmf(const QByteArray& bytes);

} // namespace tessaly
