#pragma once

#include "compositing/metafile/GdiObjects.h"

#include <optional>
#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>

namespace tessaly::metafile {

enum MapMode {
    MmText = 1,
    MmLoMetric,
    MmHiMetric,
    MmLoEnglish,
    MmHiEnglish,
    MmTwips,
    MmIsotropic,
    MmAnisotropic
};
enum BackgroundMode { Transparent = 1, Opaque = 2 };
enum PolyFillMode { Alternate = 1, Winding = 2 };

// The drawing state that SaveDC keeps and RestoreDC brings back.
struct DeviceContext {
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    int backgroundMode = Opaque;
    uint32_t textAlign = 0;
    int polyFillMode = Alternate;
    int rop2 = 13; // R2_COPYPEN
    bool clockwiseArcs = false;

    int mapMode = MmText;
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    QTransform world;

    QPointF current; // logical
    // In reference device pixels; none means the whole picture.
    std::optional<QRegion> clip;

    // Logical units to reference device pixels (page transform only), for a
    // reference device with the given pixels per millimetre.
    QTransform pageTransform(QSizeF pixelsPerMm) const;
};

} // namespace tessaly::metafile
