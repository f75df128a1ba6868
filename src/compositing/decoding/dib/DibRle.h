#pragma once

#include <QImage>

namespace tessaly {

class ByteReader;
struct DibInfo;

// Decodes RLE8 and RLE4 pixel data (see readDibPixels). A run or a jump that
// would leave the bitmap, a colour index beyond the palette and data that end
// before the end-of-bitmap mark all make the bitmap invalid.
QImage readDibRle(const DibInfo& info, ByteReader& reader, bool withAlpha);

} // namespace tessaly
