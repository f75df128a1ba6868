// How GDI's pens and brushes become Qt's.
#include "compositing/metafile/GdiCanvas.h"

#include <cmath>

namespace tessaly::metafile {

namespace {

constexpr uint32_t kEndCapMask = 0x0F00, kEndCapSquare = 0x0100, kEndCapFlat = 0x0200;
constexpr uint32_t kJoinMask = 0xF000, kJoinBevel = 0x1000, kJoinMiter = 0x2000;
constexpr uint32_t kGeometric = 0x10000;

// A wider pen than this many output pixels paints nothing a narrower one
// would not, and keeps the stroker's work bounded.
constexpr double kMaxPenPixels = 16384;

double transformScale(const QTransform& t) {
    return std::sqrt(std::abs(t.determinant()));
}

Qt::PenStyle penStyle(int style) {
    switch (style) {
    case GdiPen::Dash:
        return Qt::DashLine;
    case GdiPen::Dot:
    case GdiPen::Alternate:
        return Qt::DotLine;
    case GdiPen::DashDot:
        return Qt::DashDotLine;
    case GdiPen::DashDotDot:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle hatchStyle(int hatch) {
    static constexpr Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,
                                                Qt::BDiagPattern, Qt::FDiagPattern,
                                                Qt::CrossPattern, Qt::DiagCrossPattern};
    return hatch >= 0 && hatch < 6 ? styles[hatch] : Qt::SolidPattern;
}

QColor ropColour(QColor colour, int rop2) {
    if (rop2 == 1)
        return Qt::black;
    if (rop2 == 16)
        return Qt::white;
    return colour;
}

} // namespace

QPen GdiCanvas::painterPen(const QTransform& transform) const {
    const GdiPen& gdi = dc_.pen;
    const double scale = transformScale(transform);
    double width = gdi.width;
    if (!(gdi.flags & kGeometric) && width <= 1)
        width = 0;
    if (width * scale < 1.5)
        width = 0; // a cosmetic pen: one pixel whatever the transform
    else if (width * scale > kMaxPenPixels)
        width = kMaxPenPixels / scale;
    QPen pen(ropColour(gdi.colour, dc_.rop2), width, penStyle(gdi.style));
    if (gdi.style == GdiPen::User && !gdi.dashes.empty() && width > 0) {
        QList<qreal> pattern;
        for (double d : gdi.dashes)
            pattern.append(std::clamp(d / width, 0.1, 1e4));
        if (pattern.size() % 2)
            pattern.append(pattern.last());
        pen.setDashPattern(pattern);
    }
    const uint32_t cap = gdi.flags & kEndCapMask, join = gdi.flags & kJoinMask;
    pen.setCapStyle(cap == kEndCapSquare ? Qt::SquareCap
                    : cap == kEndCapFlat ? Qt::FlatCap
                                         : Qt::RoundCap);
    pen.setJoinStyle(join == kJoinBevel   ? Qt::BevelJoin
                     : join == kJoinMiter ? Qt::MiterJoin
                                          : Qt::RoundJoin);
    return pen;
}

// Patterns and hatches keep their device size and origin, as GDI draws them,
// whatever the mapping.
QBrush GdiCanvas::painterBrush(const GdiBrush& gdi, const QTransform& transform) const {
    QBrush brush;
    switch (gdi.style) {
    case GdiBrush::Hatched:
        brush = QBrush(ropColour(gdi.colour, dc_.rop2), hatchStyle(gdi.hatch));
        break;
    case GdiBrush::Pattern:
    case GdiBrush::DibPattern:
    case GdiBrush::DibPatternPt:
        if (!gdi.pattern.isNull()) {
            brush = QBrush(gdi.pattern);
            break;
        }
        [[fallthrough]];
    default:
        brush = QBrush(ropColour(gdi.colour, dc_.rop2));
    }
    if (transform.isInvertible())
        brush.setTransform(transform.inverted());
    return brush;
}

} // namespace tessaly::metafile
