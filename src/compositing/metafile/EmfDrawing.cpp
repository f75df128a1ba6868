// The emf records that draw figures, build paths and set clip regions.
#include "compositing/metafile/EmfObjects.h"
#include "compositing/metafile/EmfPlayback.h"
#include "compositing/metafile/EmfRecords.h"
#include "compositing/metafile/Shapes.h"

namespace tessaly::metafile {

namespace {

QPolygonF readPoints(RecordReader& in, std::size_t count, bool wide) {
    if (!in.has(count * (wide ? 8 : 4)))
        throwInvalid();
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i)
        points.append(wide ? in.pointL() : in.pointS());
    return points;
}

std::vector<QPolygonF> readPolyPoly(RecordReader& in, bool wide) {
    in.rectL();
    const uint32_t polygons = in.u32();
    const uint32_t total = in.u32();
    if (!in.has(std::size_t(polygons) * 4))
        throwInvalid();
    std::vector<uint32_t> counts;
    uint64_t sum = 0;
    for (uint32_t i = 0; i < polygons; ++i) {
        counts.push_back(in.u32());
        sum += counts.back();
    }
    if (sum != total)
        throwInvalid();
    std::vector<QPolygonF> result;
    for (uint32_t count : counts)
        result.push_back(readPoints(in, count, wide));
    return result;
}

ArcKind arcKind(uint32_t type) {
    return type == EmrChord ? ArcKind::Chord : type == EmrPie ? ArcKind::Pie : ArcKind::Open;
}

} // namespace

bool EmfPlayback::figures(uint32_t type, RecordReader& in) {
    switch (type) {
    case EmrRectangle:
        canvas_.figure(rectanglePath(in.rectL()));
        return true;
    case EmrEllipse:
        canvas_.figure(ellipsePath(in.rectL()));
        return true;
    case EmrRoundRect: {
        const QRectF box = in.rectL();
        const double cx = in.i32();
        canvas_.figure(roundRectPath(box, QSizeF(cx, in.i32())));
        return true;
    }
    case EmrArc:
    case EmrChord:
    case EmrPie:
    case EmrArcTo: {
        const QRectF box = in.rectL();
        const QPointF start = in.pointL(), end = in.pointL();
        const QPainterPath arc =
            arcPath(arcKind(type), box, start, end, canvas_.dc().clockwiseArcs);
        if (type == EmrArc)
            canvas_.openFigure(arc, false);
        else if (type != EmrArcTo)
            canvas_.figure(arc);
        else {
            QPainterPath joined(canvas_.dc().current);
            joined.connectPath(arc);
            canvas_.dc().current = arc.currentPosition();
            canvas_.openFigure(joined, true);
        }
        return true;
    }
    case EmrAngleArc: {
        const QPointF centre = in.pointL();
        const double radius = in.u32(), start = in.f32(), sweep = in.f32();
        if (!std::isfinite(start) || !std::isfinite(sweep))
            return true;
        const QPainterPath arc = angleArcPath(canvas_.dc().current, centre, radius, start, sweep);
        canvas_.dc().current = arc.currentPosition();
        canvas_.openFigure(arc, true);
        return true;
    }
    case EmrLineTo:
        canvas_.lineTo(in.pointL());
        return true;
    case EmrSetPixelV: {
        const QPointF at = in.pointL();
        canvas_.setPixel(at, readColourRef(in));
        return true;
    }
    case EmrExtTextOutA:
    case EmrExtTextOutW:
        text(in, type == EmrExtTextOutW);
        return true;
    default:
        return polys(type, in);
    }
}

bool EmfPlayback::polys(uint32_t type, RecordReader& in) {
    const bool wide = type < EmrPolyBezier16;
    switch (type) {
    case EmrPolyBezier:
    case EmrPolygon:
    case EmrPolyline:
    case EmrPolyBezierTo:
    case EmrPolylineTo:
    case EmrPolyBezier16:
    case EmrPolygon16:
    case EmrPolyline16:
    case EmrPolyBezierTo16:
    case EmrPolylineTo16: {
        in.rectL();
        const QPolygonF points = readPoints(in, in.u32(), wide);
        const uint32_t base = wide ? type : type - (EmrPolyBezier16 - EmrPolyBezier);
        if (base == EmrPolygon)
            canvas_.polygons({points}, true);
        else if (base == EmrPolyline || base == EmrPolylineTo)
            canvas_.polyline(points, base == EmrPolylineTo);
        else
            canvas_.polyBezier(points, base == EmrPolyBezierTo);
        return true;
    }
    case EmrPolyPolyline:
    case EmrPolyPolygon:
    case EmrPolyPolyline16:
    case EmrPolyPolygon16:
        canvas_.polygons(readPolyPoly(in, wide),
                         type == EmrPolyPolygon || type == EmrPolyPolygon16);
        return true;
    default:
        return false;
    }
}

bool EmfPlayback::paths(uint32_t type, RecordReader& in) {
    switch (type) {
    case EmrBeginPath:
        canvas_.beginPath();
        return true;
    case EmrEndPath:
        canvas_.endPath();
        return true;
    case EmrCloseFigure:
        canvas_.closeFigure();
        return true;
    case EmrAbortPath:
        canvas_.abortPath();
        return true;
    case EmrFillPath:
        canvas_.fillPath();
        return true;
    case EmrStrokePath:
        canvas_.strokePath();
        return true;
    case EmrStrokeAndFillPath:
        canvas_.strokeAndFillPath();
        return true;
    case EmrSelectClipPath:
        canvas_.selectClipPath(int(in.u32()));
        return true;
    default:
        return false;
    }
}

bool EmfPlayback::regions(uint32_t type, RecordReader& in) {
    const QRect bounds = canvas_.referenceBounds();
    switch (type) {
    case EmrIntersectClipRect:
        canvas_.intersectClipRect(in.rectL());
        return true;
    case EmrExcludeClipRect:
        canvas_.excludeClipRect(in.rectL());
        return true;
    case EmrOffsetClipRgn:
        canvas_.offsetClip(in.pointL());
        return true;
    case EmrExtSelectClipRgn: {
        const uint32_t size = in.u32();
        const int mode = int(in.u32());
        if (size == 0)
            canvas_.combineClip(std::nullopt, mode);
        else
            canvas_.combineClip(readRegionData(in.sub(in.position(), size), bounds), mode);
        return true;
    }
    case EmrFillRgn:
    case EmrFrameRgn:
    case EmrInvertRgn:
    case EmrPaintRgn: {
        in.rectL();
        const uint32_t size = in.u32();
        const GdiObject* brushObject =
            type == EmrFillRgn || type == EmrFrameRgn ? object(in.u32()) : nullptr;
        const auto* brush = brushObject ? std::get_if<GdiBrush>(brushObject) : nullptr;
        const double width = type == EmrFrameRgn ? in.i32() : 0;
        const double height = type == EmrFrameRgn ? in.i32() : 0;
        const QRegion region = readRegionData(in.sub(in.position(), size), bounds);
        if (type == EmrInvertRgn)
            canvas_.invertRegion(region);
        else if (type == EmrPaintRgn)
            canvas_.fillRegion(region, canvas_.dc().brush);
        else if (brush && type == EmrFillRgn)
            canvas_.fillRegion(region, *brush);
        else if (brush)
            canvas_.frameRegion(region, *brush, QSizeF(width, height));
        return true;
    }
    default:
        return false;
    }
}

} // namespace tessaly::metafile
