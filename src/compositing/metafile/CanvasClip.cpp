// Clipping and region painting; clip regions live in reference pixels.
#include "compositing/metafile/GdiCanvas.h"

namespace tessaly::metafile {

namespace {

enum RegionMode { RgnAnd = 1, RgnOr, RgnXor, RgnDiff, RgnCopy };

} // namespace

QRegion GdiCanvas::boundedRegion(const QPolygonF& polygon, Qt::FillRule rule) const {
    // Scan conversion costs the height of the polygon: cut it to the bounds
    // first when it reaches beyond them.
    const QRectF bounds(referenceBounds_);
    QPolygonF inside = polygon;
    if (!bounds.contains(polygon.boundingRect()))
        inside = polygon.intersected(QPolygonF(bounds));
    return QRegion(inside.toPolygon(), rule) & referenceBounds_;
}

void GdiCanvas::intersectClipRect(const QRectF& rect) {
    combineClip(boundedRegion(logicalToReference().map(QPolygonF(rect.normalized()))), RgnAnd);
}

void GdiCanvas::excludeClipRect(const QRectF& rect) {
    combineClip(boundedRegion(logicalToReference().map(QPolygonF(rect.normalized()))), RgnDiff);
}

void GdiCanvas::offsetClip(QPointF offset) {
    if (!dc_.clip)
        return;
    const QPointF shift = logicalToReference().map(offset) - logicalToReference().map(QPointF());
    dc_.clip->translate(shift.toPoint());
    *dc_.clip &= referenceBounds_;
    clipDirty_ = true;
}

void GdiCanvas::combineClip(const std::optional<QRegion>& region, int mode) {
    clipDirty_ = true;
    if (mode == RgnCopy || !region) {
        dc_.clip = region;
        return;
    }
    const QRegion current = dc_.clip.value_or(QRegion(referenceBounds_));
    switch (mode) {
    case RgnAnd:
        dc_.clip = current & *region;
        break;
    case RgnOr:
        dc_.clip = current | *region;
        break;
    case RgnXor:
        dc_.clip = current ^ *region;
        break;
    case RgnDiff:
        dc_.clip = current - *region;
        break;
    default:
        clipDirty_ = false;
    }
}

void GdiCanvas::applyClip() {
    if (!clipDirty_)
        return;
    clipDirty_ = false;
    if (!dc_.clip) {
        painter_.setClipping(false);
        return;
    }
    painter_.setTransform(refToOutput_);
    painter_.setClipRegion(*dc_.clip);
}

void GdiCanvas::fillRegion(const QRegion& region, const GdiBrush& brush) {
    if (!beginDrawing(refToOutput_) || brush.style == GdiBrush::Null)
        return;
    QPainterPath shape;
    shape.addRegion(region);
    painter_.fillPath(shape, painterBrush(brush, refToOutput_));
}

void GdiCanvas::frameRegion(const QRegion& region, const GdiBrush& brush, QSizeF size) {
    const QSize edge = size.toSize().expandedTo(QSize(1, 1)).boundedTo(QSize(4096, 4096));
    QRegion inner = region;
    inner &= region.translated(edge.width(), 0);
    inner &= region.translated(-edge.width(), 0);
    inner &= region.translated(0, edge.height());
    inner &= region.translated(0, -edge.height());
    fillRegion(region - inner, brush);
}

void GdiCanvas::invertRegion(const QRegion& region) {
    if (!beginDrawing(refToOutput_))
        return;
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPainterPath shape;
    shape.addRegion(region);
    painter_.fillPath(shape, Qt::black);
}

} // namespace tessaly::metafile
