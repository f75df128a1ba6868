#pragma once

#include "compositing/metafile/GdiObjects.h"
#include "compositing/metafile/RecordReader.h"

#include <QTransform>

namespace tessaly::metafile {

// The object records of a wmf, read from their parameters.
GdiPen readWmfPen(RecordReader& in);
GdiBrush readWmfBrush(RecordReader& in);
GdiBrush readWmfDibBrush(RecordReader& in);
GdiBrush readWmfPatternBrush(RecordReader& in);
GdiFont readWmfFont(RecordReader& in);
// The region's scans, mapped from logical units to reference pixels.
GdiRegion readWmfRegion(RecordReader& in, const QTransform& toReference, const QRect& bounds);

} // namespace tessaly::metafile
