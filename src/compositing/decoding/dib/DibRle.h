#pragma once

#include "compositing/decoding/dib/DibPolicy.h"

#include <QImage>

namespace tessaly {

class ByteReader;
struct DibInfo;

// Decodes RLE8 and RLE4 pixel data (see readDibPixels). A run that passes
// the end of its row is cut there: writers that encode a row's padding
// pixels are common. Under the file policy a run above the last row, a jump
// that would leave the bitmap, a colour index beyond the palette and data
// that end before the end-of-bitmap mark make the bitmap invalid; DibPolicy
// says what a metafile's bitmaps do instead.
void readDibRle(const DibInfo& info, ByteReader& reader, QImage& image, const DibPolicy& policy);

} // namespace tessaly
