#include "app/PictureBox.h"

#include "compositing/picture/Picture.h"
#include "compositing/preview/PreviewGeometry.h"

#include <QPainter>

namespace tessaly {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const Picture* picture) {
    picture_ = picture;
    update();
}

QRect PictureBox::shownRect() const {
    return picture_ ? previewRect(picture_->naturalSize(), size()) : QRect();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!picture_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture_->drawPreview(painter, shownRect(), palette().color(QPalette::Window));
}

} // namespace tessaly
