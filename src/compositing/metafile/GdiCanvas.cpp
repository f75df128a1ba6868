#include "compositing/metafile/GdiCanvas.h"

#include "compositing/metafile/Shapes.h"

namespace tessaly::metafile {

namespace {

// SaveDC nests this deep at most; a file that saves more only loses the
// oldest states' restorability, never memory.
constexpr std::size_t kMaxSavedStates = 1024;

enum Rop2 {
    R2Black = 1,
    R2NotCopyPen = 4,
    R2Not = 6,
    R2XorPen = 7,
    R2MaskPen = 9,
    R2Nop = 11,
    R2CopyPen = 13,
    R2MergePen = 15,
    R2White = 16
};

QPainter::CompositionMode compositionForRop2(int rop2) {
    switch (rop2) {
    case R2NotCopyPen:
        return QPainter::RasterOp_NotSource;
    case R2Not:
        return QPainter::RasterOp_NotDestination;
    case R2XorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case R2MaskPen:
        return QPainter::RasterOp_SourceAndDestination;
    case R2MergePen:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

GdiCanvas::GdiCanvas(QPainter& painter, const QTransform& refToOutput, QSizeF pixelsPerMm)
    : painter_(painter), refToOutput_(refToOutput), pixelsPerMm_(pixelsPerMm) {
    const QRect device = painter.device()
                             ? QRect(0, 0, painter.device()->width(), painter.device()->height())
                             : QRect();
    referenceBounds_ =
        refToOutput.inverted().mapRect(QRectF(device)).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void GdiCanvas::saveDc() {
    if (saved_.size() >= kMaxSavedStates)
        saved_.erase(saved_.begin());
    saved_.push_back(dc_);
}

void GdiCanvas::restoreDc(int which) {
    const auto depth = int64_t(saved_.size());
    const int64_t target = which < 0 ? depth + which : int64_t(which) - 1;
    if (target < 0 || target >= depth)
        return;
    dc_ = saved_[std::size_t(target)];
    saved_.resize(std::size_t(target));
    clipDirty_ = true;
}

void GdiCanvas::moveTo(QPointF p) {
    dc_.current = p;
    if (pathOpen_)
        path_.moveTo(logicalToReference().map(p));
}

void GdiCanvas::lineTo(QPointF p) {
    polyline(QPolygonF{p}, true);
}

void GdiCanvas::polyline(const QPolygonF& points, bool fromCurrent) {
    if (points.isEmpty())
        return;
    QPolygonF line = points;
    if (fromCurrent)
        line.prepend(dc_.current);
    QPainterPath shape;
    shape.addPolygon(line);
    if (fromCurrent)
        dc_.current = points.last();
    openFigure(shape, fromCurrent);
}

void GdiCanvas::polyBezier(const QPolygonF& points, bool fromCurrent) {
    QPolygonF all = points;
    if (fromCurrent)
        all.prepend(dc_.current);
    if (all.size() < 4)
        return;
    if (fromCurrent)
        dc_.current = all.last();
    openFigure(bezierPath(all), fromCurrent);
}

void GdiCanvas::polygons(const std::vector<QPolygonF>& polygons, bool closed) {
    QPainterPath shape;
    for (const QPolygonF& polygon : polygons) {
        if (polygon.isEmpty())
            continue;
        shape.addPolygon(polygon);
        if (closed)
            shape.closeSubpath();
    }
    if (closed)
        figure(shape);
    else
        openFigure(shape, false);
}

void GdiCanvas::figure(const QPainterPath& shape) {
    if (pathOpen_)
        return addToPath(shape);
    drawShape(shape, logicalToOutput(), true, true);
}

void GdiCanvas::openFigure(const QPainterPath& shape, bool connected) {
    if (pathOpen_) {
        const QPainterPath mapped = logicalToReference().map(shape);
        if (connected && !path_.isEmpty())
            path_.connectPath(mapped);
        else
            path_.addPath(mapped);
        return;
    }
    drawShape(shape, logicalToOutput(), false, true);
}

void GdiCanvas::setPixel(QPointF p, const QColor& colour) {
    if (!beginDrawing(logicalToOutput()))
        return;
    painter_.setTransform(QTransform());
    const QPointF at = logicalToOutput().map(p);
    painter_.fillRect(QRectF(std::floor(at.x()), std::floor(at.y()), 1, 1), colour);
}

void GdiCanvas::fillShape(const QPainterPath& shape, const QBrush& brush) {
    if (pathOpen_ || !beginDrawing(logicalToOutput()))
        return;
    painter_.fillPath(shape, brush);
}

// Sets up clip, transform and raster operation; false when nothing is to be
// drawn (R2_NOP).
bool GdiCanvas::beginDrawing(const QTransform& transform) {
    if (dc_.rop2 == R2Nop)
        return false;
    applyClip();
    painter_.setTransform(transform);
    painter_.setCompositionMode(compositionForRop2(dc_.rop2));
    return true;
}

void GdiCanvas::drawShape(const QPainterPath& shape, const QTransform& transform, bool fill,
                          bool stroke) {
    if (!beginDrawing(transform))
        return;
    QPainterPath filled = shape;
    filled.setFillRule(dc_.polyFillMode == Winding ? Qt::WindingFill : Qt::OddEvenFill);
    if (fill && dc_.brush.style != GdiBrush::Null) {
        fillBackgroundForHatch(filled);
        painter_.fillPath(filled, painterBrush(dc_.brush, transform));
    }
    if (stroke && dc_.pen.style != GdiPen::Null)
        painter_.strokePath(filled, painterPen(transform));
}

void GdiCanvas::fillBackgroundForHatch(const QPainterPath& shape) {
    if (dc_.brush.style == GdiBrush::Hatched && dc_.backgroundMode == Opaque)
        painter_.fillPath(shape, dc_.backgroundColour);
}

void GdiCanvas::addToPath(const QPainterPath& shape) {
    path_.addPath(logicalToReference().map(shape));
}

void GdiCanvas::beginPath() {
    pathOpen_ = true;
    path_ = QPainterPath();
}

void GdiCanvas::closeFigure() {
    if (pathOpen_)
        path_.closeSubpath();
}

void GdiCanvas::abortPath() {
    pathOpen_ = false;
    path_ = QPainterPath();
}

void GdiCanvas::fillPath() {
    drawShape(path_, refToOutput_, true, false);
    abortPath();
}

void GdiCanvas::strokePath() {
    drawShape(path_, refToOutput_, false, true);
    abortPath();
}

void GdiCanvas::strokeAndFillPath() {
    drawShape(path_, refToOutput_, true, true);
    abortPath();
}

void GdiCanvas::selectClipPath(int mode) {
    QPainterPath path = path_;
    path.setFillRule(dc_.polyFillMode == Winding ? Qt::WindingFill : Qt::OddEvenFill);
    QRegion region;
    for (const QPolygonF& polygon : path.toFillPolygons()) {
        const QRegion part = boundedRegion(polygon, path.fillRule());
        region = path.fillRule() == Qt::WindingFill ? region.united(part) : region.xored(part);
    }
    combineClip(region, mode);
    abortPath();
}

} // namespace tessaly::metafile
