#pragma once

#include "about/MatrixModel.h"

#include <functional>
#include <QFont>
#include <QImage>
#include <QPainter>

namespace tessaly {

// The About window's canvas: a persistent image that the drops are drawn into
// cell by cell. Nothing is ever redrawn from the model, so the trails stay
// until a later drop's tail erases them. Each changed cell is reported so that
// only it is repainted on screen.
class MatrixImage final : public MatrixCanvas {
public:
    static constexpr int CharWidth = 8;
    static constexpr int CharHeight = 12;

    using CellChanged = std::function<void(const QRect& cell)>;

    explicit MatrixImage(CellChanged onChange = {});

    // A black image of this size; the old picture is gone.
    void clear(const QSize& size);
    const QImage& image() const { return image_; }

    // Ends the drawing of one tick; the next cell starts a new one.
    void endTick();

    void eraseCell(int column, int row) override;
    void drawGlyph(int column, int row, QChar glyph, QRgb colour) override;

    static QRect cellRect(int column, int row);

private:
    // Opens the painter on the first cell of a tick.
    bool painting();

    QImage image_;
    QPainter painter_;
    QFont font_;
    CellChanged onChange_;
};

} // namespace tessaly
