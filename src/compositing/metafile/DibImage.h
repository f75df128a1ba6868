#pragma once

#include "compositing/decoding/dib/DibColourTable.h"
#include "compositing/metafile/RecordReader.h"

#include <QImage>

namespace tessaly::metafile {

// Decodes a device-independent bitmap with the picture files' DIB reader,
// drawing what it can of a damaged one (DibPolicy): its header and colour
// table from `info`, its pixel rows from `bits`. Raises "Metafile is not
// valid" when the bitmap claims more rows than the spans hold; gives a null
// image for a bitmap it does not draw (an unknown compression, or one over
// the size limit). The image is RGB32, or premultiplied ARGB32 when withAlpha
// asks for the fourth byte of 32-bit pixels.
QImage decodeDib(RecordReader info, RecordReader bits, DibColours colours, bool withAlpha = false);

// A DIB whose header, colour table and rows follow each other in one span.
QImage decodePackedDib(RecordReader dib, DibColours colours);

// A device-dependent Bitmap16 (old pattern brushes): rows top-down, colours
// taken as grey levels. With bitsAtEnd, the rows are the record's last bytes.
QImage decodeBitmap16(RecordReader bitmap, bool bitsAtEnd);

} // namespace tessaly::metafile
