#pragma once

#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// GIF files: the first frame only, on an opaque picture of the logical screen
// size, drawn without its transparency. When that frame declares a
// transparent colour, the screen is first filled with the GIF's background
// colour (white when the file has no global colour table); otherwise the
// screen outside the frame stays white. Raises "GIF image is not valid: ..."
std::unique_ptr<Picture> decodeGif(const QByteArray& bytes);

} // namespace tessaly
