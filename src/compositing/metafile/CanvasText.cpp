// ExtTextOut: fonts, alignment, background and rotation.
#include "compositing/metafile/GdiCanvas.h"

#include <cmath>
#include <numeric>
#include <QFontMetricsF>

namespace tessaly::metafile {

namespace {

constexpr uint32_t kAlignUpdateCp = 1, kAlignHorizontal = 6, kAlignRight = 2, kAlignCenter = 6;
constexpr uint32_t kAlignVertical = 24, kAlignBottom = 8, kAlignBaseline = 24;
constexpr uint32_t kEtoOpaque = 2, kEtoClipped = 4;

// Text smaller than this is invisible; text larger than this covers more
// than any picture, and would only cost time and memory to rasterise.
constexpr double kMinTextPixels = 0.5, kMaxTextPixels = 8192;

// Cell height to character height, for fonts asked for by cell height.
constexpr double kCellToEm = 0.85;

double axisScale(double a, double b) {
    return std::sqrt(a * a + b * b);
}

QFont painterFont(const GdiFont& gdi, const QString& face, double pixels) {
    QFont font(face);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setWeight(QFont::Weight(std::clamp(gdi.weight ? gdi.weight : 400, 1, 1000)));
    font.setItalic(gdi.italic);
    font.setUnderline(gdi.underline);
    font.setStrikeOut(gdi.strikeOut);
    return font;
}

} // namespace

// Each new family name costs a font lookup in the system; a file naming
// thousands of them gets the default family after the first few.
QString GdiCanvas::fontFace(const QString& requested) {
    static const QString fallback = QStringLiteral("Sans Serif");
    if (requested.isEmpty())
        return fallback;
    if (faces_.contains(requested))
        return requested;
    if (faces_.size() >= kMaxFaces)
        return fallback;
    faces_.insert(requested);
    return requested;
}

void GdiCanvas::text(const TextRun& run) {
    if (run.text.isEmpty() && !(run.options & kEtoOpaque))
        return;
    const QTransform toOutput = logicalToOutput();
    const double yScale = axisScale(toOutput.m21(), toOutput.m22());
    const double xScale = axisScale(toOutput.m11(), toOutput.m12());
    double height = std::abs(double(dc_.font.height)) * yScale;
    if (dc_.font.height > 0)
        height *= kCellToEm;
    if (dc_.font.height == 0)
        height = 12 * yScale;
    if (run.rect && (run.options & kEtoOpaque) && beginDrawing(toOutput)) {
        painter_.fillRect(run.rect->normalized(), dc_.backgroundColour);
    }
    if (run.text.isEmpty() || height < kMinTextPixels || height > kMaxTextPixels)
        return;
    // GDI keeps text upright on the device whatever the axes' directions;
    // only the escapement and a rotating world transform turn it.
    const double turn = std::atan2(toOutput.m12(), toOutput.m11()) * 180.0 / M_PI;
    const double angle = -double(dc_.font.escapement) / 10.0 + (std::abs(turn) < 1e-6 ? 0 : turn);
    const bool fromCurrent = dc_.textAlign & kAlignUpdateCp;
    const QPointF origin = toOutput.map(fromCurrent ? dc_.current : run.reference);
    if (!beginDrawing(QTransform()))
        return;
    if (run.rect && (run.options & kEtoClipped)) {
        QPainterPath clip;
        clip.addPolygon(toOutput.map(QPolygonF(run.rect->normalized())));
        painter_.setClipPath(clip, Qt::IntersectClip);
        clipDirty_ = true;
    }
    const QFont font = painterFont(dc_.font, fontFace(dc_.font.face), height);
    drawTextRun(run, font, origin, angle, xScale);
    if (fromCurrent && toOutput.isInvertible()) {
        const double advance = run.dx.empty()
                                   ? QFontMetricsF(font).horizontalAdvance(run.text)
                                   : std::accumulate(run.dx.begin(), run.dx.end(), 0.0) * xScale;
        const QPointF end = origin + QPointF(advance * std::cos(angle * M_PI / 180),
                                             advance * std::sin(angle * M_PI / 180));
        dc_.current = toOutput.inverted().map(end);
    }
}

void GdiCanvas::drawTextRun(const TextRun& run, const QFont& font, QPointF origin, double angle,
                            double xScale) {
    const QFontMetricsF metrics(font);
    std::vector<double> offsets; // of each character from the start, in output pixels
    double width = 0;
    if (run.dx.empty()) {
        width = metrics.horizontalAdvance(run.text);
    } else {
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            offsets.push_back(width);
            width += i < qsizetype(run.dx.size()) ? run.dx[std::size_t(i)] * xScale : 0;
        }
    }
    double x = 0, y = 0;
    const uint32_t h = dc_.textAlign & kAlignHorizontal, v = dc_.textAlign & kAlignVertical;
    if (h == kAlignCenter)
        x = -width / 2;
    else if (h == kAlignRight)
        x = -width;
    if (v == kAlignBottom)
        y = -metrics.descent();
    else if (v != kAlignBaseline)
        y = metrics.ascent();
    painter_.setTransform(QTransform().translate(origin.x(), origin.y()).rotate(angle));
    if (dc_.backgroundMode == Opaque)
        painter_.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()),
                          dc_.backgroundColour);
    painter_.setFont(font);
    painter_.setPen(dc_.textColour);
    if (offsets.empty()) {
        painter_.drawText(QPointF(x, y), run.text);
        return;
    }
    for (qsizetype i = 0; i < run.text.size(); ++i)
        painter_.drawText(QPointF(x + offsets[std::size_t(i)], y), QString(run.text[i]));
}

} // namespace tessaly::metafile
