#pragma once

#include "compositing/picture/Picture.h"

#include <QImage>

namespace tessaly {

// The picture that every raster kind (bmp, jpeg, png, gif, ico, tiff) decodes
// to. The pixels keep one of two forms:
// - opaque: QImage::Format_BGR888, whose rows have exactly the layout of a
//   Bitmap24 row (blue, green, red, padded to 4 bytes), only top-down, so that
//   rasterising is one copy per row;
// - with transparency: QImage::Format_ARGB32 with straight (not premultiplied)
//   alpha, blended over white when rasterised.
class RasterPicture final : public Picture {
public:
    // Takes pixels in one of the two forms above; other formats are converted
    // to the nearer one.
    explicit RasterPicture(QImage pixels);

    // Fresh pixel buffers for the decoders, after the size check of the
    // program's limit. The opaque one starts white, the other one transparent,
    // unless the decoder writes every pixel itself (Fill::None): clearing a
    // large buffer first costs as much as touching it.
    enum class Fill { Clear, None };
    static QImage newOpaque(int width, int height, Fill fill = Fill::Clear);
    static QImage newTransparent(int width, int height, Fill fill = Fill::Clear);

    bool hasAlpha() const { return pixels_.format() == QImage::Format_ARGB32; }
    const QImage& pixels() const { return pixels_; }

    QSize naturalSize() const override { return pixels_.size(); }
    void rasterise(Bitmap24& target) const override;
    bool coversEveryPixel() const override { return !hasAlpha(); }
    void drawPreview(QPainter& painter, const QRect& rect, const QColor& background) const override;

private:
    QImage pixels_;
    // The last preview, kept so that repainting a large picture at the same
    // size costs one small blit.
    mutable QImage preview_;
};

// One colour channel c drawn over white with alpha a, rounded to nearest:
// a = 255 gives c exactly and a = 0 gives exactly 255.
inline uint8_t overWhite(unsigned c, unsigned a) {
    return uint8_t((a * c + (255 - a) * 255 + 127) / 255);
}

} // namespace tessaly
