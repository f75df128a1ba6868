#pragma once

#include "compositing/picture/Bitmap24.h"

#include <QImage>
#include <QSize>

namespace tessaly {

// A picture scaled to size for a preview box, as premultiplied ARGB32. Each
// preview pixel averages up to 4 x 4 pixels spread over its area: smooth for
// photographs, and a 24-megapixel picture costs a few hundred thousand reads
// instead of all of its pixels. Enlarging is left to Qt's smooth scaling of
// the small image. Null for an empty source or size.
//
// The source image is Format_BGR888 or straight-alpha Format_ARGB32.
QImage scaledPreview(const QImage& source, QSize size);
// The same for a 24-bit bitmap (the result slot), read where it lies.
QImage scaledPreview(const Bitmap24& bitmap, QSize size);

} // namespace tessaly
