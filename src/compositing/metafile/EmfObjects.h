#pragma once

#include "compositing/metafile/GdiObjects.h"
#include "compositing/metafile/RecordReader.h"

namespace tessaly::metafile {

// The object records of an emf, each read from its whole record (type and
// size included, since bitmaps are found by offsets from the record's start);
// the reader stands after the object's index.
GdiPen readEmfPen(RecordReader& record);
GdiPen readEmfExtPen(RecordReader& record);
GdiBrush readEmfBrush(RecordReader& record);
GdiBrush readEmfDibBrush(RecordReader& record, bool monochrome);
GdiFont readEmfFont(RecordReader& record);
// RgnData: a header and rectangles in reference pixels, kept within bounds.
QRegion readRegionData(RecordReader data, const QRect& bounds);

// A DIB given by offsets and sizes from the start of the record.
QImage recordDib(const RecordReader& record, uint32_t offInfo, uint32_t infoSize, uint32_t offBits,
                 uint32_t bitsSize, uint32_t usage, bool withAlpha = false);

} // namespace tessaly::metafile
