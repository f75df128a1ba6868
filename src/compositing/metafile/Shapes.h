#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace tessaly::metafile {

// The outlines of GDI's figures, in logical coordinates.
enum class ArcKind { Open, Chord, Pie };

QPainterPath rectanglePath(const QRectF& box);
QPainterPath roundRectPath(const QRectF& box, const QSizeF& corner);
QPainterPath ellipsePath(const QRectF& box);
// An arc of the ellipse in box from the ray through start to the ray through
// end, counter-clockwise on the page unless clockwise is set.
QPainterPath arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end, bool clockwise);
// A centred circular arc (AngleArc), angles in degrees counter-clockwise.
QPainterPath angleArcPath(QPointF from, QPointF centre, double radius, double start, double sweep);
// Cubic Béziers: start point followed by three points per curve.
QPainterPath bezierPath(const QPolygonF& points);

} // namespace tessaly::metafile
