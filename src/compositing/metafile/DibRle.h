#pragma once

#include "compositing/metafile/RecordReader.h"

#include <QImage>
#include <vector>

namespace tessaly::metafile {

// Rows of a run-length encoded DIB (RLE8, or RLE4 when fourBits), bottom-up.
// Pixels the runs skip keep the first colour of the table.
QImage decodeRle(RecordReader& bits, int width, int height, bool fourBits,
                 const std::vector<QRgb>& table);

} // namespace tessaly::metafile
