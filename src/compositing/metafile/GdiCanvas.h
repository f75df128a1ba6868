#pragma once

#include "compositing/metafile/DeviceContext.h"

#include <optional>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSet>
#include <vector>

namespace tessaly::metafile {

// One text output record, in logical coordinates.
struct TextRun {
    QPointF reference;
    QString text;
    std::vector<double> dx; // advance of each character, when the record gives them
    uint32_t options = 0;   // ETO_ flags
    std::optional<QRectF> rect;
};

// GDI's drawing model on a QPainter: the player of either metafile format
// turns its records into these calls. Coordinates are logical unless a name
// says otherwise; "reference" pixels are those of the metafile's reference
// device, which refToOutput maps onto the painter's image.
class GdiCanvas {
public:
    GdiCanvas(QPainter& painter, const QTransform& refToOutput, QSizeF pixelsPerMm);

    DeviceContext& dc() { return dc_; }
    void saveDc();
    void restoreDc(int which);

    QTransform logicalToReference() const { return dc_.world * dc_.pageTransform(pixelsPerMm_); }
    QTransform logicalToOutput() const { return logicalToReference() * refToOutput_; }

    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points, bool fromCurrent);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void polygons(const std::vector<QPolygonF>& polygons, bool closed);
    // A closed figure (rectangle, ellipse, chord, pie...), filled and outlined.
    void figure(const QPainterPath& shape);
    // An open figure (arc), outlined only; extends the current figure when
    // connected is set (ArcTo, AngleArc).
    void openFigure(const QPainterPath& shape, bool connected);
    void setPixel(QPointF p, const QColor& colour);
    // A shape filled with a brush of its own (gradients), not outlined.
    void fillShape(const QPainterPath& shape, const QBrush& brush);

    void beginPath();
    void endPath() { pathOpen_ = false; }
    void closeFigure();
    void abortPath();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);

    void intersectClipRect(const QRectF& rect);
    void excludeClipRect(const QRectF& rect);
    void offsetClip(QPointF offset);
    // RGN_AND .. RGN_COPY of a region in reference pixels; none resets.
    void combineClip(const std::optional<QRegion>& region, int mode);
    QRect referenceBounds() const { return referenceBounds_; }
    // The area of a polygon in reference pixels, kept within the bounds.
    QRegion boundedRegion(const QPolygonF& polygon, Qt::FillRule rule = Qt::OddEvenFill) const;

    void fillRegion(const QRegion& region, const GdiBrush& brush);
    void frameRegion(const QRegion& region, const GdiBrush& brush, QSizeF size);
    void invertRegion(const QRegion& region);

    void text(const TextRun& run);

    // The part src of image drawn into dest with a ternary raster operation.
    void blit(const QRectF& dest, const QImage& image, const QRectF& src, uint32_t rop);
    void alphaBlit(const QRectF& dest, const QImage& image, const QRectF& src, int constantAlpha);
    // A raster operation with the brush and the destination only.
    void patBlt(const QRectF& dest, uint32_t rop);

private:
    bool beginDrawing(const QTransform& transform);
    void drawShape(const QPainterPath& shape, const QTransform& transform, bool fill, bool stroke);
    void fillBackgroundForHatch(const QPainterPath& shape);
    QPen painterPen(const QTransform& transform) const;
    QBrush painterBrush(const GdiBrush& brush, const QTransform& transform) const;
    void addToPath(const QPainterPath& shape);
    void applyClip();
    QString fontFace(const QString& requested);
    void drawTextRun(const TextRun& run, const QFont& font, QPointF origin, double angle,
                     double xScale);

    QPainter& painter_;
    QTransform refToOutput_;
    QSizeF pixelsPerMm_;
    QRect referenceBounds_;
    DeviceContext dc_;
    std::vector<DeviceContext> saved_;
    bool pathOpen_ = false;
    QPainterPath path_; // reference pixels
    bool clipDirty_ = true;
    static constexpr qsizetype kMaxFaces = 32;
    QSet<QString> faces_;
};

} // namespace tessaly::metafile
