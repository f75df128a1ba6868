#pragma once

#include <QImage>

namespace tessaly {

// Writes count decoded colours into row y of the image from column x on, in
// the image's own format: BGR888 and RGB32 drop the alpha; ARGB32 keeps it
// straight; ARGB32_Premultiplied takes the colours as premultiplied already,
// as the system's alpha blending does, and holds each channel to its alpha.
void storeDibSpan(QImage& image, int x, int y, const QRgb* colours, int count);

} // namespace tessaly
