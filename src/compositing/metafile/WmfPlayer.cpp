#include "compositing/metafile/WmfPlayer.h"

#include "compositing/metafile/AnsiText.h"
#include "compositing/metafile/DibImage.h"
#include "compositing/metafile/GdiCanvas.h"
#include "compositing/metafile/ObjectTable.h"
#include "compositing/metafile/Shapes.h"
#include "compositing/metafile/WmfObjects.h"
#include "compositing/metafile/WmfRecords.h"

namespace tessaly::metafile {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kScreenDpi = 96;
constexpr uint16_t kEtoOpaque = 2, kEtoClipped = 4;

QPointF pointYX(RecordReader& in) {
    const double y = in.i16();
    return QPointF(in.i16(), y);
}

QSizeF sizeYX(RecordReader& in) {
    const double y = in.i16();
    return QSizeF(in.i16(), y);
}

QPolygonF points16(RecordReader& in, std::size_t count) {
    if (!in.has(count * 4))
        throwInvalid();
    QPolygonF polygon;
    polygon.reserve(qsizetype(count));
    for (std::size_t i = 0; i < count; ++i)
        polygon.append(in.pointS());
    return polygon;
}

class WmfPlayer {
public:
    WmfPlayer(const WmfHeader& header, GdiCanvas& canvas)
        : canvas_(canvas), objects_(std::size_t(header.objectCount)) {}

    bool play(uint16_t function, RecordReader& in) {
        if (!state(function, in) && !objects(function, in) && !figures(function, in))
            bitmaps(function, in);
        return true;
    }

private:
    bool state(uint16_t function, RecordReader& in);
    bool mapping(uint16_t function, RecordReader& in);
    bool objects(uint16_t function, RecordReader& in);
    bool figures(uint16_t function, RecordReader& in);
    bool regions(uint16_t function, RecordReader& in);
    void bitmaps(uint16_t function, RecordReader& in);
    void text(RecordReader& in, bool extended);
    void polyPolygon(RecordReader& in);
    const GdiRegion* region(uint16_t index) const {
        const GdiObject* object = objects_.find(index);
        return object ? std::get_if<GdiRegion>(object) : nullptr;
    }

    GdiCanvas& canvas_;
    ObjectTable objects_;
};

bool WmfPlayer::state(uint16_t function, RecordReader& in) {
    DeviceContext& dc = canvas_.dc();
    switch (function) {
    case WmfSaveDc:
        canvas_.saveDc();
        return true;
    case WmfRestoreDc:
        canvas_.restoreDc(in.i16());
        return true;
    case WmfSetBkMode:
        dc.backgroundMode = in.u16();
        return true;
    case WmfSetBkColor:
        dc.backgroundColour = readColourRef(in);
        return true;
    case WmfSetTextColor:
        dc.textColour = readColourRef(in);
        return true;
    case WmfSetTextAlign:
        dc.textAlign = in.u16();
        return true;
    case WmfSetPolyFillMode:
        dc.polyFillMode = in.u16();
        return true;
    case WmfSetRop2:
        dc.rop2 = in.u16();
        return true;
    case WmfMoveTo:
        canvas_.moveTo(pointYX(in));
        return true;
    default:
        return mapping(function, in);
    }
}

// The picture's viewport is the target rectangle: only the window moves.
// The map mode matters only for the isotropic constraint.
bool WmfPlayer::mapping(uint16_t function, RecordReader& in) {
    DeviceContext& dc = canvas_.dc();
    switch (function) {
    case WmfSetMapMode:
        if (const uint16_t mode = in.u16(); mode == MmIsotropic || mode == MmAnisotropic)
            dc.mapMode = mode;
        return true;
    case WmfSetWindowOrg:
        dc.windowOrg = pointYX(in);
        return true;
    case WmfSetWindowExt:
        dc.windowExt = sizeYX(in);
        return true;
    case WmfOffsetWindowOrg:
        dc.windowOrg += pointYX(in);
        return true;
    case WmfScaleWindowExt: {
        const double yDenom = in.i16(), yNum = in.i16(), xDenom = in.i16(), xNum = in.i16();
        if (xDenom != 0 && yDenom != 0)
            dc.windowExt =
                QSizeF(dc.windowExt.width() * xNum / xDenom, dc.windowExt.height() * yNum / yDenom);
        return true;
    }
    case WmfExcludeClipRect:
        canvas_.excludeClipRect(in.rectSReversed());
        return true;
    case WmfIntersectClipRect:
        canvas_.intersectClipRect(in.rectSReversed());
        return true;
    case WmfOffsetClipRgn:
        canvas_.offsetClip(pointYX(in));
        return true;
    default:
        return false;
    }
}

bool WmfPlayer::objects(uint16_t function, RecordReader& in) {
    switch (function) {
    case WmfCreatePenIndirect:
        objects_.add(readWmfPen(in));
        return true;
    case WmfCreateBrushIndirect:
        objects_.add(readWmfBrush(in));
        return true;
    case WmfDibCreatePatternBrush:
        objects_.add(readWmfDibBrush(in));
        return true;
    case WmfCreatePatternBrush:
        objects_.add(readWmfPatternBrush(in));
        return true;
    case WmfCreateFontIndirect:
        objects_.add(readWmfFont(in));
        return true;
    case WmfCreatePalette:
        objects_.add(GdiPalette());
        return true;
    case WmfCreateRegion:
        objects_.add(readWmfRegion(in, canvas_.logicalToReference(), canvas_.referenceBounds()));
        return true;
    case WmfSelectObject:
        if (const GdiObject* object = objects_.find(in.u16()))
            selectObject(canvas_, *object);
        return true;
    case WmfDeleteObject:
        objects_.remove(in.u16());
        return true;
    default:
        return regions(function, in);
    }
}

bool WmfPlayer::regions(uint16_t function, RecordReader& in) {
    switch (function) {
    case WmfSelectClipRegion:
        if (const GdiRegion* r = region(in.u16()))
            canvas_.combineClip(r->region, 5);
        else
            canvas_.combineClip(std::nullopt, 5);
        return true;
    case WmfFillRegion:
    case WmfFrameRegion: {
        const GdiRegion* r = region(in.u16());
        const GdiObject* brush = objects_.find(in.u16());
        const auto* b = brush ? std::get_if<GdiBrush>(brush) : nullptr;
        if (r && b && function == WmfFillRegion)
            canvas_.fillRegion(r->region, *b);
        else if (r && b)
            canvas_.frameRegion(
                r->region, *b,
                canvas_.logicalToReference().mapRect(QRectF(QPointF(), sizeYX(in))).size());
        return true;
    }
    case WmfPaintRegion:
    case WmfInvertRegion:
        if (const GdiRegion* r = region(in.u16())) {
            if (function == WmfPaintRegion)
                canvas_.fillRegion(r->region, canvas_.dc().brush);
            else
                canvas_.invertRegion(r->region);
        }
        return true;
    default:
        return false;
    }
}

bool WmfPlayer::figures(uint16_t function, RecordReader& in) {
    switch (function) {
    case WmfLineTo:
        canvas_.lineTo(pointYX(in));
        return true;
    case WmfPolyline:
    case WmfPolygon: {
        const QPolygonF points = points16(in, in.u16());
        if (function == WmfPolyline)
            canvas_.polyline(points, false);
        else
            canvas_.polygons({points}, true);
        return true;
    }
    case WmfPolyPolygon:
        polyPolygon(in);
        return true;
    case WmfRectangle:
        canvas_.figure(rectanglePath(in.rectSReversed()));
        return true;
    case WmfEllipse:
        canvas_.figure(ellipsePath(in.rectSReversed()));
        return true;
    case WmfRoundRect: {
        const QSizeF corner = sizeYX(in);
        canvas_.figure(roundRectPath(in.rectSReversed(), corner));
        return true;
    }
    case WmfArc:
    case WmfChord:
    case WmfPie: {
        const QPointF end = pointYX(in), start = pointYX(in);
        const QRectF box = in.rectSReversed();
        const ArcKind kind = function == WmfArc     ? ArcKind::Open
                             : function == WmfChord ? ArcKind::Chord
                                                    : ArcKind::Pie;
        const QPainterPath shape = arcPath(kind, box, start, end, canvas_.dc().clockwiseArcs);
        if (kind == ArcKind::Open)
            canvas_.openFigure(shape, false);
        else
            canvas_.figure(shape);
        return true;
    }
    case WmfSetPixel: {
        const QColor colour = readColourRef(in);
        canvas_.setPixel(pointYX(in), colour);
        return true;
    }
    case WmfTextOut:
    case WmfExtTextOut:
        text(in, function == WmfExtTextOut);
        return true;
    default:
        return false;
    }
}

void WmfPlayer::polyPolygon(RecordReader& in) {
    const uint16_t count = in.u16();
    std::vector<std::size_t> sizes;
    for (uint16_t i = 0; i < count; ++i)
        sizes.push_back(in.u16());
    std::vector<QPolygonF> polygons;
    for (std::size_t size : sizes)
        polygons.push_back(points16(in, size));
    canvas_.polygons(polygons, true);
}

void WmfPlayer::text(RecordReader& in, bool extended) {
    TextRun run;
    std::size_t length = 0;
    QByteArray bytes;
    if (extended) {
        run.reference = pointYX(in);
        length = in.u16();
        run.options = in.u16();
        if ((run.options & (kEtoOpaque | kEtoClipped)) && in.remaining() >= 8 + length) {
            const double left = in.i16(), top = in.i16(), right = in.i16();
            run.rect = edgesRect(left, top, right, in.i16());
        }
        bytes = in.bytes(length);
        if (length % 2 && in.has(1))
            in.u8();
        for (std::size_t i = 0; i < length && in.has(2); ++i)
            run.dx.push_back(in.i16());
    } else {
        length = in.u16();
        bytes = in.bytes(length + length % 2).left(qsizetype(length));
        run.reference = pointYX(in);
    }
    run.text = decodeAnsi(bytes, canvas_.dc().font.charSet);
    canvas_.text(run);
}

void WmfPlayer::bitmaps(uint16_t function, RecordReader& in) {
    // Layouts: the raster operation first, then source and destination in
    // reverse order, then the bitmap; records without one carry a reserved word.
    const bool withBitmap = in.size() > ((function >> 8) + 3) * 2 - 6;
    switch (function) {
    case WmfPatBlt: {
        const uint32_t rop = in.u32();
        const QSizeF size = sizeYX(in);
        canvas_.patBlt(QRectF(pointYX(in), size), rop);
        return;
    }
    case WmfBitBlt:
    case WmfDibBitBlt:
    case WmfStretchBlt:
    case WmfDibStretchBlt: {
        const uint32_t rop = in.u32();
        const bool stretch = function == WmfStretchBlt || function == WmfDibStretchBlt;
        const QSizeF srcSize = stretch ? sizeYX(in) : QSizeF();
        const QPointF srcAt = pointYX(in);
        if (!withBitmap)
            in.u16();
        const QSizeF destSize = sizeYX(in);
        const QRectF dest(pointYX(in), destSize);
        if (!withBitmap || function == WmfBitBlt || function == WmfStretchBlt)
            return canvas_.patBlt(dest, rop);
        const QImage image =
            decodePackedDib(in.sub(in.position(), in.remaining()), DibColours::Rgb);
        canvas_.blit(dest, image, QRectF(srcAt, stretch ? srcSize : destSize), rop);
        return;
    }
    case WmfStretchDib: {
        const uint32_t rop = in.u32();
        const uint16_t usage = in.u16();
        const QSizeF srcSize = sizeYX(in);
        const QPointF srcAt = pointYX(in);
        const QSizeF destSize = sizeYX(in);
        const QRectF dest(pointYX(in), destSize);
        const QImage image = decodePackedDib(in.sub(in.position(), in.remaining()),
                                             usage ? DibColours::PaletteIndices : DibColours::Rgb);
        canvas_.blit(dest, image, QRectF(srcAt, srcSize), rop);
        return;
    }
    case WmfSetDibToDev: {
        const uint16_t usage = in.u16();
        in.skip(4); // scan count, start scan
        const QPointF srcAt = pointYX(in);
        const QSizeF size = sizeYX(in);
        const QRectF dest(pointYX(in), size);
        const QImage image = decodePackedDib(in.sub(in.position(), in.remaining()),
                                             usage ? DibColours::PaletteIndices : DibColours::Rgb);
        canvas_.blit(dest, image, QRectF(srcAt, size), 0x00CC0020);
        return;
    }
    default:
        return;
    }
}

} // namespace

void playWmf(const QByteArray& bytes, const WmfHeader& header, QPainter& painter,
             const QRectF& target) {
    const QSizeF natural = header.naturalSize;
    const QTransform refToOutput(target.width() / natural.width(), 0, 0,
                                 target.height() / natural.height(), target.x(), target.y());
    const double pixelsPerMm = kScreenDpi / kMillimetresPerInch;
    GdiCanvas canvas(painter, refToOutput, QSizeF(pixelsPerMm, pixelsPerMm));
    DeviceContext& dc = canvas.dc();
    dc.mapMode = MmAnisotropic;
    dc.windowOrg = header.window.topLeft();
    dc.windowExt = header.window.size();
    dc.viewportExt = natural;
    WmfPlayer player(header, canvas);
    const RecordReader file(bytes.constData(), std::size_t(bytes.size()));
    forEachWmfRecord(file, header.firstRecord, [&](uint16_t function, RecordReader& in) {
        return player.play(function, in);
    });
}

} // namespace tessaly::metafile
