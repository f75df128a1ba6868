#pragma once

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"

#include <memory>
#include <QString>

namespace tessaly {

// Loads a picture for a BMP result and, when it decodes straight into the
// blend's 24-bit form (an upright JPEG photo, an opaque PNG without
// interlacing), stamps and writes it while it decodes: the decoder fills a few
// band bitmaps in turn, and another thread blends each full band and copies it
// to its place in the file, so that the writing costs little beyond the
// decoding and no bitmap of the whole picture is made. The file is the one
// saveBmp writes for the composed result, byte for byte, and it replaces the
// output name only once it is whole and on disk. Where the output has to be
// written in place, the picture is loaded whole instead, so that a picture that
// fails to decode leaves the earlier file as it was.
// Returns null when the result is written; otherwise the loaded picture, for
// the caller to stamp the whole-picture way. Raises with the window's texts.
std::unique_ptr<Picture> stampBmpWhileDecoding(const QString& input, const QString& output,
                                               const Bitmap24& watermark, int alpha);

} // namespace tessaly
