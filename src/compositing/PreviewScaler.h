#pragma once

#include <QImage>
#include <QSize>

namespace tessaly {

// The picture's pixels (Format_BGR888 or straight-alpha Format_ARGB32) scaled
// to size for a preview box, as premultiplied ARGB32. A large picture is first
// reduced by whole factors with a box average in one pass over its rows, so
// that only a small image reaches Qt's smooth scaling; the result stays an
// area average and never skips pixels.
QImage scaledPreview(const QImage& source, QSize size);

} // namespace tessaly
