#include "compositing/metafile/EmfObjects.h"

#include "compositing/metafile/DibImage.h"
#include "compositing/metafile/ObjectTable.h"
#include "compositing/metafile/RegionUnion.h"

#include <QRect>
#include <vector>

namespace tessaly::metafile {

namespace {

constexpr std::size_t kFaceChars = 32;
constexpr uint32_t kMaxDashes = 64;

} // namespace

GdiPen readEmfPen(RecordReader& in) {
    GdiPen pen;
    const uint32_t style = in.u32();
    pen.style = int(style & 0x0F);
    pen.flags = style & 0xFFF00;
    pen.width = in.i32();
    in.i32();
    pen.colour = readColourRef(in);
    return pen;
}

GdiPen readEmfExtPen(RecordReader& in) {
    in.skip(16); // bitmap offsets and sizes: pattern pens are drawn solid
    GdiPen pen;
    const uint32_t style = in.u32();
    pen.style = int(style & 0x0F);
    pen.flags = style & 0xFFF00;
    pen.width = in.u32();
    const uint32_t brushStyle = in.u32();
    pen.colour = readColourRef(in);
    in.u32(); // hatch
    const uint32_t dashes = in.has(4) ? in.u32() : 0;
    for (uint32_t i = 0; i < dashes && i < kMaxDashes && in.has(4); ++i)
        pen.dashes.push_back(in.u32());
    if (brushStyle == GdiBrush::Null)
        pen.style = GdiPen::Null;
    return pen;
}

GdiBrush readEmfBrush(RecordReader& in) {
    GdiBrush brush;
    brush.style = int(in.u32());
    brush.colour = readColourRef(in);
    brush.hatch = int(in.u32());
    if (brush.style != GdiBrush::Null && brush.style != GdiBrush::Hatched)
        brush.style = GdiBrush::Solid;
    return brush;
}

GdiBrush readEmfDibBrush(RecordReader& in, bool monochrome) {
    const uint32_t usage = in.u32();
    const uint32_t offInfo = in.u32(), infoSize = in.u32(), offBits = in.u32(), bitsSize = in.u32();
    GdiBrush brush;
    brush.style = monochrome ? GdiBrush::Pattern : GdiBrush::DibPatternPt;
    brush.colour = Qt::black;
    brush.pattern = recordDib(in, offInfo, infoSize, offBits, bitsSize, usage);
    return brush;
}

GdiFont readEmfFont(RecordReader& in) {
    GdiFont font;
    font.height = in.i32();
    font.width = in.i32();
    font.escapement = in.i32();
    in.i32(); // orientation
    font.weight = in.i32();
    font.italic = in.u8();
    font.underline = in.u8();
    font.strikeOut = in.u8();
    font.charSet = in.u8();
    in.skip(4);
    for (std::size_t i = 0; i < kFaceChars && in.has(2); ++i) {
        const uint16_t c = in.u16();
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    return font;
}

QRegion readRegionData(RecordReader in, const QRect& bounds) {
    in.u32(); // header size
    in.u32(); // type
    const uint32_t count = in.u32();
    in.skip(4 + 16); // size, bounds
    if (!in.has(std::size_t(count) * 16))
        throwInvalid();
    std::vector<QRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const QRect r = (in.rectL().normalized() & QRectF(bounds)).toAlignedRect();
        if (!r.isEmpty())
            rects.push_back(r);
    }
    return unionOf(rects);
}

QImage recordDib(const RecordReader& record, uint32_t offInfo, uint32_t infoSize, uint32_t offBits,
                 uint32_t bitsSize, uint32_t usage, bool withAlpha) {
    if (infoSize == 0)
        return QImage();
    const DibColours colours = usage == 1 ? DibColours::PaletteIndices : DibColours::Rgb;
    return decodeDib(record.sub(offInfo, infoSize), record.sub(offBits, bitsSize), colours,
                     withAlpha);
}

} // namespace tessaly::metafile
