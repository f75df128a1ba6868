#include "compositing/metafile/WmfObjects.h"

#include "compositing/metafile/DibImage.h"
#include "compositing/metafile/ObjectTable.h"
#include "compositing/metafile/RegionUnion.h"

namespace tessaly::metafile {

namespace {

constexpr std::size_t kRegionHeader = 20;
constexpr int kSymbolCharSet = 2;

} // namespace

GdiPen readWmfPen(RecordReader& in) {
    GdiPen pen;
    const uint16_t style = in.u16();
    pen.style = style & 0x0F;
    pen.flags = style & 0xFF00;
    pen.width = in.i16();
    in.i16();
    pen.colour = readColourRef(in);
    return pen;
}

GdiBrush readWmfBrush(RecordReader& in) {
    GdiBrush brush;
    brush.style = in.u16();
    brush.colour = readColourRef(in);
    brush.hatch = in.has(2) ? in.u16() : 0;
    if (brush.style != GdiBrush::Solid && brush.style != GdiBrush::Null &&
        brush.style != GdiBrush::Hatched)
        brush.style = GdiBrush::Solid; // a pattern this record cannot carry
    return brush;
}

GdiBrush readWmfDibBrush(RecordReader& in) {
    GdiBrush brush;
    brush.style = GdiBrush::DibPattern;
    const uint16_t style = in.u16();
    const uint16_t usage = in.u16();
    const RecordReader rest = in.sub(in.position(), in.remaining());
    // Writers put a device-dependent bitmap here for the plain pattern style.
    brush.pattern =
        style == GdiBrush::Pattern
            ? decodeBitmap16(rest, false)
            : decodePackedDib(rest, usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb);
    brush.colour = Qt::black;
    return brush;
}

GdiBrush readWmfPatternBrush(RecordReader& in) {
    GdiBrush brush;
    brush.style = GdiBrush::Pattern;
    brush.pattern = decodeBitmap16(in, true);
    brush.colour = Qt::black;
    return brush;
}

GdiFont readWmfFont(RecordReader& in) {
    GdiFont font;
    font.height = in.i16();
    font.width = in.i16();
    font.escapement = in.i16();
    in.i16(); // orientation
    font.weight = in.i16();
    font.italic = in.u8();
    font.underline = in.u8();
    font.strikeOut = in.u8();
    font.charSet = in.u8();
    in.skip(4);
    const QByteArray face = in.bytes(std::min<std::size_t>(32, in.remaining()));
    font.face =
        QString::fromLatin1(face.left(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0')));
    // Writers name the Symbol font with the ANSI character set too; its
    // bytes are the Symbol encoding all the same.
    if (font.face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        font.charSet = kSymbolCharSet;
    return font;
}

// Real files disagree with each other on this record: the header is read as
// the files that carry regions write it, and a short record (some writers
// leave the region out) gives an empty region rather than a failure.
GdiRegion readWmfRegion(RecordReader& in, const QTransform& toReference, const QRect& bounds) {
    GdiRegion region;
    if (!in.has(kRegionHeader))
        return region;
    std::vector<QRect> rects;
    in.skip(8); // next in chain, object type, object count, region size
    const uint16_t scans = in.u16();
    in.skip(2 + 8); // max scan, bounding rectangle
    for (uint16_t s = 0; s < scans && in.has(6); ++s) {
        const uint16_t count = in.u16();
        const int top = in.i16(), bottom = in.i16();
        for (uint16_t i = 0; i + 1 < count && in.has(4); i += 2) {
            const int left = in.i16(), right = in.i16();
            const QRectF area(QPointF(left, top), QPointF(right, bottom));
            region.region |= QRegion((toReference.mapRect(area) & QRectF(bounds)).toAlignedRect());
        }
        if (in.has(2))
            in.u16();
    }
    region.region = unionOf(rects);
    return region;
}

} // namespace tessaly::metafile
