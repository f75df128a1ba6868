#include "compositing/preview/PreviewGeometry.h"

namespace tessaly {

QRect previewRect(QSize natural, QSize box) {
    const int w = natural.width();
    const int h = natural.height();
    if (w <= 0 || h <= 0)
        return QRect(QPoint(0, 0), box);
    const double r = double(w) / double(h);
    if (w > h)
        return QRect(0, 0, box.width(), int(box.height() / r));
    return QRect(0, 0, int(box.width() * r), box.height());
}

} // namespace tessaly
