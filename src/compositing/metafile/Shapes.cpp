#include "compositing/metafile/Shapes.h"

#include <cmath>

namespace tessaly::metafile {

namespace {

// The angle, in degrees, at which the ray from the centre through p meets
// the ellipse, measured as Qt's arcTo measures it (y grows downwards).
double rayAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9), ry = std::max(box.height() / 2, 1e-9);
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / M_PI;
}

} // namespace

QPainterPath rectanglePath(const QRectF& box) {
    QPainterPath path;
    path.addRect(box.normalized());
    return path;
}

QPainterPath roundRectPath(const QRectF& box, const QSizeF& corner) {
    QPainterPath path;
    const QRectF r = box.normalized();
    const double rx = std::min(std::abs(corner.width()) / 2, r.width() / 2);
    const double ry = std::min(std::abs(corner.height()) / 2, r.height() / 2);
    path.addRoundedRect(r, rx, ry);
    return path;
}

QPainterPath ellipsePath(const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box.normalized());
    return path;
}

QPainterPath arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end, bool clockwise) {
    const QRectF r = box.normalized();
    const double a0 = rayAngle(r, start);
    double sweep = rayAngle(r, end) - a0;
    if (clockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(r.center());
        path.arcTo(r, a0, sweep);
    } else {
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
    }
    if (kind != ArcKind::Open)
        path.closeSubpath();
    return path;
}

QPainterPath angleArcPath(QPointF from, QPointF centre, double radius, double start, double sweep) {
    const QRectF r(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(from);
    path.arcTo(r, start, std::clamp(sweep, -3600.0, 3600.0));
    return path;
}

QPainterPath bezierPath(const QPolygonF& points) {
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.moveTo(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    return path;
}

} // namespace tessaly::metafile
