#include "about/MatrixImage.h"

#include "platform/Fonts.h"

namespace tessaly {

// A 12-pixel cell holds Tahoma at an em of 10 pixels with its leading.
MatrixImage::MatrixImage(CellChanged onChange)
    : font_(tahoma(10)), onChange_(std::move(onChange)) {}

void MatrixImage::clear(const QSize& size) {
    if (painter_.isActive())
        painter_.end();
    image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::black);
}

bool MatrixImage::painting() {
    if (!painter_.isActive() && painter_.begin(&image_))
        painter_.setFont(font_);
    return painter_.isActive();
}

void MatrixImage::endTick() {
    if (painter_.isActive())
        painter_.end();
}

QRect MatrixImage::cellRect(int column, int row) {
    return {column * CharWidth, row * CharHeight, CharWidth, CharHeight};
}

void MatrixImage::eraseCell(int column, int row) {
    const QRect cell = cellRect(column, row);
    if (!image_.rect().intersects(cell) || !painting())
        return;
    painter_.fillRect(cell, Qt::black);
    if (onChange_)
        onChange_(cell);
}

void MatrixImage::drawGlyph(int column, int row, QChar glyph, QRgb colour) {
    const QRect cell = cellRect(column, row);
    if (!image_.rect().intersects(cell) || !painting())
        return;
    painter_.fillRect(cell, Qt::black);
    painter_.setPen(QColor(colour));
    painter_.drawText(cell, Qt::AlignLeft | Qt::AlignTop, QString(glyph));
    if (onChange_)
        onChange_(cell);
}

} // namespace tessaly
