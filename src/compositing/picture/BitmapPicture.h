#pragma once

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"

#include <QImage>

namespace tessaly {

// A picture made from a 24-bit bitmap: the blend's result, or an opaque
// photo decoded straight into the blend's form. It takes the bitmap over
// (move it in) rather than copying a picture-sized buffer.
class BitmapPicture : public Picture {
public:
    explicit BitmapPicture(Bitmap24 bitmap);

    // A bitmap for a decoder that writes every pixel: checked against the
    // program's limit and with the same messages as RasterPicture::newOpaque;
    // its pixels are whatever the memory held.
    static Bitmap24 newPixels(int width, int height);

    QSize naturalSize() const override;
    void rasterise(Bitmap24& target) const override;
    bool coversEveryPixel() const override { return bitmap_.bitsPerPixel() == 24; }
    // The scaled image is kept for the rectangle's size, so repainting a large
    // result costs one small blit.
    void drawPreview(QPainter& painter, const QRect& rect, const QColor& background) const override;

    const Bitmap24& bitmap() const { return bitmap_; }
    // Hands the bitmap over to a caller that no longer needs the picture.
    Bitmap24 takeBitmap() &&;

private:
    Bitmap24 bitmap_;
    mutable QImage preview_;
};

} // namespace tessaly
