// Bitmap records and the raster operations they combine pixels with.
#include "compositing/metafile/GdiCanvas.h"

namespace tessaly::metafile {

namespace {

enum RopIndex : uint8_t {
    Blackness = 0x00,
    NotSrcErase = 0x11,
    NotSrcCopy = 0x33,
    SrcErase = 0x44,
    DstInvert = 0x55,
    PatInvert = 0x5A,
    SrcInvert = 0x66,
    SrcAnd = 0x88,
    Nop = 0xAA,
    MergePaint = 0xBB,
    SrcCopy = 0xCC,
    SrcPaint = 0xEE,
    PatCopy = 0xF0,
    Whiteness = 0xFF
};

uint8_t ropIndex(uint32_t rop) {
    return uint8_t(rop >> 16);
}

QPainter::CompositionMode sourceComposition(uint8_t rop) {
    switch (rop) {
    case SrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case SrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case SrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case SrcErase:
        return QPainter::RasterOp_SourceAndNotDestination;
    case NotSrcCopy:
        return QPainter::RasterOp_NotSource;
    case NotSrcErase:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case MergePaint:
        return QPainter::RasterOp_NotSourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

bool usesSource(uint8_t rop) {
    return ((rop >> 2) & 0x33) != (rop & 0x33);
}

// Maps the source rectangle onto the destination one, mirroring where the
// destination's extents are negative.
QTransform sourceToLogical(const QRectF& dest, const QRectF& src) {
    const double sx = src.width() ? dest.width() / src.width() : 1;
    const double sy = src.height() ? dest.height() / src.height() : 1;
    return QTransform(sx, 0, 0, sy, dest.x() - src.x() * sx, dest.y() - src.y() * sy);
}

} // namespace

void GdiCanvas::blit(const QRectF& dest, const QImage& image, const QRectF& src, uint32_t rop) {
    const uint8_t index = ropIndex(rop);
    if (image.isNull() || !usesSource(index))
        return patBlt(dest, rop);
    if (pathOpen_ || dest.width() == 0 || dest.height() == 0 || !beginDrawing(logicalToOutput()))
        return;
    painter_.setTransform(sourceToLogical(dest, src) * logicalToOutput());
    painter_.setCompositionMode(sourceComposition(index));
    painter_.drawImage(src, image, src);
}

void GdiCanvas::alphaBlit(const QRectF& dest, const QImage& image, const QRectF& src,
                          int constantAlpha) {
    if (image.isNull() || pathOpen_ || !beginDrawing(logicalToOutput()))
        return;
    painter_.setTransform(sourceToLogical(dest, src) * logicalToOutput());
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setOpacity(constantAlpha / 255.0);
    painter_.drawImage(src, image, src);
    painter_.setOpacity(1);
}

void GdiCanvas::patBlt(const QRectF& dest, uint32_t rop) {
    const uint8_t index = ropIndex(rop);
    if (pathOpen_ || index == Nop || !beginDrawing(logicalToOutput()))
        return;
    const QRectF area = dest.normalized();
    switch (index) {
    case Blackness:
    case Whiteness:
        painter_.fillRect(area, index == Blackness ? Qt::black : Qt::white);
        return;
    case DstInvert:
        painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_.fillRect(area, Qt::black);
        return;
    case PatInvert:
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    default:
        break;
    }
    if (dc_.brush.style == GdiBrush::Null)
        return;
    painter_.fillRect(area, painterBrush(dc_.brush, logicalToOutput()));
}

} // namespace tessaly::metafile
