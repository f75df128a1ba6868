#include "compositing/metafile/MetafilePicture.h"

#include "compositing/picture/Bitmap24.h"
#include "platform/Error.h"

#include <QPainter>

namespace tessaly::metafile {

QImage MetafilePicture::render(QSize size, const QColor& background) const {
    // RGB32 keeps the raster operations of the records available.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(background);
    QPainter painter(&image);
    player_(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

void MetafilePicture::rasterise(Bitmap24& target) const {
    const QImage image = render(size_, Qt::white);
    if (image.isNull()) // a white picture here would be a wrong result, not a drawing
        throw Error(QStringLiteral("Not enough memory to draw a metafile of %1 x %2 pixels")
                        .arg(size_.width())
                        .arg(size_.height()));
    const int width = std::min(target.width(), image.width());
    const int height = std::min(target.height(), image.height());
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* out = target.scanLine(y);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = uint8_t(qBlue(in[x]));
            out[3 * x + 1] = uint8_t(qGreen(in[x]));
            out[3 * x + 2] = uint8_t(qRed(in[x]));
        }
    }
}

void MetafilePicture::drawPreview(QPainter& painter, const QRect& rect,
                                  const QColor& background) const {
    if (rect.isEmpty())
        return;
    const QImage image = render(rect.size(), background);
    if (!image.isNull()) // a preview that cannot be made is left out, not reported
        painter.drawImage(rect.topLeft(), image);
}

} // namespace tessaly::metafile
