#pragma once

#include "compositing/picture/Picture.h"

#include <functional>
#include <QByteArray>
#include <QImage>

namespace tessaly::metafile {

// A wmf or emf picture: the file's bytes and a player for them. It plays the
// records again for every drawing, at the size it is drawn at.
class MetafilePicture : public Picture {
public:
    using Player = std::function<void(QPainter&, const QRectF& target)>;

    MetafilePicture(QSize naturalSize, Player player)
        : size_(naturalSize), player_(std::move(player)) {}

    QSize naturalSize() const override { return size_; }
    void rasterise(Bitmap24& target) const override;
    void drawPreview(QPainter& painter, const QRect& rect, const QColor& background) const override;

    // The picture played into an image of the given size over a background;
    // null when there is no memory for the image. rasterise() raises then.
    QImage render(QSize size, const QColor& background) const;

private:
    QSize size_;
    Player player_;
};

} // namespace tessaly::metafile
