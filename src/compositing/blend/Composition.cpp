#include "compositing/blend/Composition.h"

#include "compositing/blend/TiledBlend.h"
#include "compositing/picture/BitmapPicture.h"

namespace tessaly {

WatermarkTooLarge::WatermarkTooLarge()
    : Error(QStringLiteral("Watermark image dimensions must be smaller!")) {}

Bitmap24 rasterisedPicture(const Picture& picture) {
    const QSize size = picture.naturalSize();
    Bitmap24 bitmap;
    if (picture.coversEveryPixel())
        bitmap.resizeForOverwrite(size.width(), size.height());
    else
        bitmap.resize(size.width(), size.height());
    picture.rasterise(bitmap);
    return bitmap;
}

Bitmap24 rasterisedWatermark(const Picture& picture) {
    Bitmap24 bitmap = rasterisedPicture(picture);
    bitmap.setColourKeyed(true);
    return bitmap;
}

void requireWatermarkFits(QSize base, QSize watermark) {
    if (!watermarkFits(base, watermark))
        throw WatermarkTooLarge();
}

Bitmap24 composeResult(const Picture& base, const Bitmap24& watermark, int alpha) {
    requireWatermarkFits(base.naturalSize(), QSize(watermark.width(), watermark.height()));
    Bitmap24 result = rasterisedPicture(base);
    blendTiles(result, watermark, alpha);
    return result;
}

Bitmap24 composeResult(const Picture& base, const Picture& watermark, int alpha) {
    return composeResult(base, rasterisedWatermark(watermark), alpha);
}

Bitmap24 composeResult(std::unique_ptr<Picture> base, const Bitmap24& watermark, int alpha) {
    auto* bitmapPicture = dynamic_cast<BitmapPicture*>(base.get());
    if (!bitmapPicture || !bitmapPicture->coversEveryPixel())
        return composeResult(*base, watermark, alpha);
    requireWatermarkFits(base->naturalSize(), QSize(watermark.width(), watermark.height()));
    Bitmap24 result = std::move(*bitmapPicture).takeBitmap();
    base.reset();
    blendTiles(result, watermark, alpha);
    return result;
}

} // namespace tessaly
