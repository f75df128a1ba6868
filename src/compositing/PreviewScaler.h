#pragma once

#include "compositing/Bitmap24.h"

#include <QImage>
#include <QSize>

namespace tessaly {

// A picture's pixels scaled to size for a preview box, as premultiplied
// ARGB32. A large picture is first reduced by whole factors with a box average
// in one pass over its rows, so that only a small image reaches Qt's smooth
// scaling; the result stays an area average and never skips pixels.
// The source is Format_BGR888 or straight-alpha Format_ARGB32.
QImage scaledPreview(const QImage& source, QSize size);
// The same for a 24-bit bitmap (the result slot), read without a full-size copy.
QImage scaledPreview(const Bitmap24& bitmap, QSize size);

} // namespace tessaly
