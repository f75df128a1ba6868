#pragma once

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"

#include <QImage>

namespace tessaly {

// A picture made from a 24-bit bitmap: the blend's result. It takes the
// bitmap over (move it in) rather than copying a picture-sized buffer.
class BitmapPicture : public Picture {
public:
    explicit BitmapPicture(Bitmap24 bitmap);

    QSize naturalSize() const override;
    void rasterise(Bitmap24& target) const override;
    // The scaled image is kept for the rectangle's size, so repainting a large
    // result costs one small blit.
    void drawPreview(QPainter& painter, const QRect& rect, const QColor& background) const override;

    const Bitmap24& bitmap() const { return bitmap_; }

private:
    Bitmap24 bitmap_;
    mutable QImage preview_;
};

} // namespace tessaly
