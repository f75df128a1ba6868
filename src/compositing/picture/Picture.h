#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;

namespace tessaly {

class Bitmap24;

// A decoded picture of one of the loader's kinds. It knows its natural size
// and how to draw itself: onto the white work bitmap of the blend, and into a
// preview rectangle over the window's background.
class Picture {
public:
    virtual ~Picture() = default;

    virtual QSize naturalSize() const = 0;
    // Draws the picture at (0, 0) at its natural size onto target, which the
    // caller has made white at exactly that size, by the rules of its kind.
    virtual void rasterise(Bitmap24& target) const = 0;
    // Whether rasterise() writes every pixel of a target of the natural size,
    // so that the target need not be made white first.
    virtual bool coversEveryPixel() const { return false; }
    // Draws the picture stretched into rect, over the background colour where
    // it is transparent or paints nothing.
    virtual void drawPreview(QPainter& painter, const QRect& rect,
                             const QColor& background) const = 0;
};

} // namespace tessaly
