#pragma once

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"

#include <memory>
#include <QString>

namespace tessaly {

// Loads a picture for a BMP result and, when it decodes straight into a 24-bit
// bitmap (an upright JPEG photo, an opaque PNG), stamps and writes it while it
// decodes: each band of rows is blended as soon
// as it is decoded and copied to the file by another thread, so that the
// writing costs little beyond the decoding and the picture needs no second
// buffer. The file is the one saveBmp writes for the composed result, byte for
// byte, and it replaces the output name only once it is whole and on disk.
// Returns null when the result is written; otherwise the loaded picture, for
// the caller to stamp the whole-picture way. Raises with the window's texts.
std::unique_ptr<Picture> stampBmpWhileDecoding(const QString& input, const QString& output,
                                               const Bitmap24& watermark, int alpha);

} // namespace tessaly
