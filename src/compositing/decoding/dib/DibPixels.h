#pragma once

#include <QImage>

namespace tessaly {

class ByteReader;
struct DibInfo;

// Decodes the pixel data of a device-independent bitmap, which starts at the
// reader's position, into the forms of RasterPicture: opaque BGR888 when
// withAlpha is false (the fourth byte of 32-bit pixels is then ignored), or
// straight-alpha ARGB32 with the alpha of 32-bit pixels when it is true.
// Pixels that a run-length coded bitmap skips stay white (opaque) or
// transparent (with alpha).
QImage readDibPixels(const DibInfo& info, ByteReader& reader, bool withAlpha);

} // namespace tessaly
