#pragma once

#include <cstddef>
#include <QByteArray>
#include <QRectF>
#include <QSize>

namespace tessaly::metafile {

// What a wmf says about itself before its records.
struct WmfHeader {
    std::size_t firstRecord = 0; // offset of the first record
    int objectCount = 0;
    QRectF window; // logical area of the picture: bounding box or window
    QSize naturalSize;
};

// Reads the placeable header (when present) and the metafile header; a wmf
// without the placeable header takes its size from the window extent it sets.
// Raises "Metafile is not valid" for anything else.
WmfHeader readWmfHeader(const QByteArray& bytes);

} // namespace tessaly::metafile
