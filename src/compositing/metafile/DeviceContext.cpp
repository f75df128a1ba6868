#include "compositing/metafile/DeviceContext.h"

#include <cmath>

namespace tessaly::metafile {

namespace {

// Millimetres per logical unit of the fixed map modes.
double millimetresPerUnit(int mode) {
    switch (mode) {
    case MmLoMetric:
        return 0.1;
    case MmHiMetric:
        return 0.01;
    case MmLoEnglish:
        return 0.254;
    case MmHiEnglish:
        return 0.0254;
    case MmTwips:
        return 25.4 / 1440.0;
    default:
        return 0;
    }
}

double ratio(double numerator, double denominator) {
    return denominator == 0 ? 1.0 : numerator / denominator;
}

} // namespace

QTransform DeviceContext::pageTransform(QSizeF pixelsPerMm) const {
    double sx = 1, sy = 1;
    if (const double mm = millimetresPerUnit(mapMode); mm > 0) {
        sx = pixelsPerMm.width() * mm;
        sy = -pixelsPerMm.height() * mm;
    } else if (mapMode == MmIsotropic || mapMode == MmAnisotropic) {
        sx = ratio(viewportExt.width(), windowExt.width());
        sy = ratio(viewportExt.height(), windowExt.height());
        if (mapMode == MmIsotropic) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, viewportOrg.x() - windowOrg.x() * sx,
                      viewportOrg.y() - windowOrg.y() * sy);
}

} // namespace tessaly::metafile
