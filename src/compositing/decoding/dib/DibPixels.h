#pragma once

#include "compositing/decoding/dib/DibPolicy.h"

#include <QImage>

namespace tessaly {

class ByteReader;
struct DibInfo;

// Decodes the pixel data of a device-independent bitmap, which start at the
// reader's position, into an image of the bitmap's size that the caller has
// made and filled: run-length coded bitmaps leave the pixels they skip as
// they are. The image's format says what becomes of alpha (storeDibSpan);
// the alpha comes from the fourth byte of 32-bit pixels or their alpha mask.
void readDibPixels(const DibInfo& info, ByteReader& reader, QImage& image, const DibPolicy& policy);

} // namespace tessaly
