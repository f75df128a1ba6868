#include "compositing/metafile/EmfPlayer.h"

#include "compositing/metafile/EmfObjects.h"
#include "compositing/metafile/EmfPlayback.h"
#include "compositing/metafile/EmfRecords.h"

#include <cmath>

namespace tessaly::metafile {

namespace {

enum WorldTransformMode { MwtIdentity = 1, MwtLeftMultiply, MwtRightMultiply, MwtSet };

// Transforms with absurd factors would only overflow the coordinates later.
constexpr double kMaxTransformFactor = 1e6;

std::optional<QTransform> readXForm(RecordReader& in) {
    double m[6];
    bool sane = true;
    for (double& v : m) {
        v = in.f32();
        sane = sane && std::isfinite(v) && std::abs(v) < kMaxTransformFactor * 1e3;
    }
    const QTransform t(m[0], m[1], m[2], m[3], m[4], m[5]);
    if (!sane || std::abs(m[0]) > kMaxTransformFactor || std::abs(m[1]) > kMaxTransformFactor ||
        std::abs(m[2]) > kMaxTransformFactor || std::abs(m[3]) > kMaxTransformFactor ||
        !t.isInvertible())
        return std::nullopt;
    return t;
}

QSizeF readSizeL(RecordReader& in) {
    const double cx = in.i32();
    return QSizeF(cx, in.i32());
}

} // namespace

void EmfPlayback::play(uint32_t type, RecordReader& in) {
    if (state(type, in) || objects(type, in) || figures(type, in) || paths(type, in) ||
        regions(type, in))
        return;
    bitmaps(type, in);
}

const GdiObject* EmfPlayback::object(uint32_t index) const {
    if (const GdiObject* stock = stockObject(index))
        return stock;
    return objects_.find(index);
}

bool EmfPlayback::state(uint32_t type, RecordReader& in) {
    DeviceContext& dc = canvas_.dc();
    switch (type) {
    case EmrSaveDc:
        canvas_.saveDc();
        return true;
    case EmrRestoreDc:
        canvas_.restoreDc(in.i32());
        return true;
    case EmrSetBkMode:
        dc.backgroundMode = int(in.u32());
        return true;
    case EmrSetBkColor:
        dc.backgroundColour = readColourRef(in);
        return true;
    case EmrSetTextColor:
        dc.textColour = readColourRef(in);
        return true;
    case EmrSetTextAlign:
        dc.textAlign = in.u32();
        return true;
    case EmrSetPolyFillMode:
        dc.polyFillMode = int(in.u32());
        return true;
    case EmrSetRop2:
        dc.rop2 = int(in.u32());
        return true;
    case EmrSetArcDirection:
        dc.clockwiseArcs = in.u32() == 2;
        return true;
    case EmrMoveToEx:
        canvas_.moveTo(in.pointL());
        return true;
    default:
        return mapping(type, in);
    }
}

bool EmfPlayback::mapping(uint32_t type, RecordReader& in) {
    DeviceContext& dc = canvas_.dc();
    switch (type) {
    case EmrSetMapMode:
        if (const uint32_t mode = in.u32(); mode >= MmText && mode <= MmAnisotropic)
            dc.mapMode = int(mode);
        return true;
    case EmrSetWindowOrgEx:
        dc.windowOrg = in.pointL();
        return true;
    case EmrSetWindowExtEx:
        if (const QSizeF ext = readSizeL(in); ext.width() != 0 && ext.height() != 0)
            dc.windowExt = ext;
        return true;
    case EmrSetViewportOrgEx:
        dc.viewportOrg = in.pointL();
        return true;
    case EmrSetViewportExtEx:
        if (const QSizeF ext = readSizeL(in); ext.width() != 0 && ext.height() != 0)
            dc.viewportExt = ext;
        return true;
    case EmrScaleWindowExtEx:
    case EmrScaleViewportExtEx: {
        const double xNum = in.i32(), xDenom = in.i32(), yNum = in.i32(), yDenom = in.i32();
        QSizeF& ext = type == EmrScaleWindowExtEx ? dc.windowExt : dc.viewportExt;
        if (xNum != 0 && yNum != 0 && xDenom != 0 && yDenom != 0)
            ext = QSizeF(ext.width() * xNum / xDenom, ext.height() * yNum / yDenom);
        return true;
    }
    default:
        return transforms(type, in);
    }
}

bool EmfPlayback::transforms(uint32_t type, RecordReader& in) {
    DeviceContext& dc = canvas_.dc();
    switch (type) {
    case EmrSetWorldTransform:
        if (const auto t = readXForm(in))
            dc.world = *t;
        return true;
    case EmrModifyWorldTransform: {
        const auto t = readXForm(in);
        const uint32_t mode = in.u32();
        if (mode == MwtIdentity)
            dc.world = QTransform();
        else if (t && mode == MwtLeftMultiply)
            dc.world = *t * dc.world;
        else if (t && mode == MwtRightMultiply)
            dc.world = dc.world * *t;
        else if (t && mode == MwtSet)
            dc.world = *t;
        return true;
    }
    default:
        return false;
    }
}

bool EmfPlayback::objects(uint32_t type, RecordReader& in) {
    switch (type) {
    case EmrCreatePen:
    case EmrExtCreatePen:
    case EmrCreateBrushIndirect:
    case EmrCreateMonoBrush:
    case EmrCreateDibPatternBrushPt:
    case EmrExtCreateFontIndirectW:
    case EmrCreatePalette: {
        const uint32_t index = in.u32();
        GdiObject created = type == EmrCreatePen                ? GdiObject(readEmfPen(in))
                            : type == EmrExtCreatePen           ? GdiObject(readEmfExtPen(in))
                            : type == EmrCreateBrushIndirect    ? GdiObject(readEmfBrush(in))
                            : type == EmrExtCreateFontIndirectW ? GdiObject(readEmfFont(in))
                            : type == EmrCreatePalette
                                ? GdiObject(GdiPalette())
                                : GdiObject(readEmfDibBrush(in, type == EmrCreateMonoBrush));
        objects_.put(index, std::move(created));
        return true;
    }
    case EmrSelectObject:
        if (const GdiObject* selected = object(in.u32()))
            selectObject(canvas_, *selected);
        return true;
    case EmrDeleteObject:
        objects_.remove(in.u32());
        return true;
    default:
        return false;
    }
}

void playEmf(const QByteArray& bytes, const EmfHeader& header, QPainter& painter,
             const QRectF& target) {
    const QRectF frame = header.frame;
    const double sx = target.width() / frame.width(), sy = target.height() / frame.height();
    const QTransform refToOutput(sx, 0, 0, sy, target.x() - frame.left() * sx,
                                 target.y() - frame.top() * sy);
    GdiCanvas canvas(painter, refToOutput, header.pixelsPerMm);
    EmfPlayback playback(canvas, header.handles);
    const RecordReader file(bytes.constData(), std::size_t(bytes.size()));
    forEachEmfRecord(file, [&](uint32_t type, RecordReader& record) {
        if (type != EmrHeader)
            playback.play(type, record);
    });
}

} // namespace tessaly::metafile
