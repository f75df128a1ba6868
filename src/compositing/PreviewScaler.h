#pragma once

#include "compositing/Bitmap24.h"

#include <QImage>
#include <QSize>

namespace tessaly {

// The bitmap scaled to size for a preview box. Shrinking averages every
// source pixel into its box (a 24-megapixel result is read once, with no
// full-size conversion); enlarging is left to Qt's smooth scaling of the small
// image. Null for an empty bitmap or size.
QImage scaledPreview(const Bitmap24& bitmap, QSize size);

} // namespace tessaly
