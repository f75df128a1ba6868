#pragma once

#include "compositing/Bitmap24.h"

#include <QImage>
#include <QSize>

namespace tessaly {

// The bitmap scaled to size for a preview box. Shrinking averages up to 4 x 4
// pixels spread evenly over each preview pixel's box, straight from the
// bitmap with no full-size conversion; enlarging is left to Qt's smooth
// scaling of the small image. Null for an empty bitmap or size.
QImage scaledPreview(const Bitmap24& bitmap, QSize size);

} // namespace tessaly
