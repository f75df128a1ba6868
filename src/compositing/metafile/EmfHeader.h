#pragma once

#include <cstdint>
#include <QByteArray>
#include <QRectF>
#include <QSize>

namespace tessaly::metafile {

// What an emf's header record says about the picture.
struct EmfHeader {
    QRectF frame;       // in pixels of the reference device
    QSizeF pixelsPerMm; // of the reference device
    uint32_t handles = 0;
    QSize naturalSize;
};

// Reads EMR_HEADER; raises "Metafile is not valid" when it is not one.
EmfHeader readEmfHeader(const QByteArray& bytes);

} // namespace tessaly::metafile
