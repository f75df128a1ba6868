#include "resources/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tessaly {

namespace {

// Every picture is drawn on a 32 x 32 design grid and scaled to its size.
using Draw = void (*)(QPainter&);

void appIcon(QPainter& p) {
    // A photo with a tiled watermark across it.
    p.setPen(QPen(QColor(40, 60, 90), 1.5));
    QLinearGradient sky(0, 3, 0, 29);
    sky.setColorAt(0, QColor(120, 180, 240));
    sky.setColorAt(1, QColor(40, 110, 190));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 3, 28, 26), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            p.drawEllipse(QRectF(6 + x * 12, 7 + y * 11, 8, 8));
    p.setBrush(QColor(60, 150, 70));
    QPainterPath hill;
    hill.moveTo(3, 28);
    hill.cubicTo(10, 18, 18, 20, 29, 25);
    hill.lineTo(29, 28);
    hill.closeSubpath();
    p.drawPath(hill);
}

void open(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(3, 8, 22, 19));
    p.setBrush(QColor(255, 225, 120));
    QPolygonF flap{{3, 27}, {9, 14}, {30, 14}, {25, 27}};
    p.drawPolygon(flap);
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(3, 5, 9, 3));
}

void feedback(QPainter& p) {
    p.setPen(QPen(QColor(60, 70, 100), 1.5));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(3, 8, 26, 17));
    p.drawPolyline(QPolygonF{{3, 8}, {16, 18}, {29, 8}});
    p.setPen(QPen(QColor(60, 70, 100), 1.0));
    p.drawLine(QPointF(3, 25), QPointF(13, 16));
    p.drawLine(QPointF(29, 25), QPointF(19, 16));
}

void about(QPainter& p) {
    p.setPen(QPen(QColor(20, 70, 150), 1.5));
    p.setBrush(QColor(60, 130, 220));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 7, 4.5, 4.5));
    p.drawRoundedRect(QRectF(14, 13.5, 4.5, 12), 1.5, 1.5);
}

void exitArt(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 1.5));
    p.setBrush(QColor(170, 120, 70));
    p.drawRect(QRectF(4, 3, 14, 26));
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(14, 16), QPointF(28, 16));
    p.drawPolyline(QPolygonF{{23, 11}, {28, 16}, {23, 21}});
}

void help(QPainter& p) {
    p.setPen(QPen(QColor(20, 110, 60), 1.5));
    p.setBrush(QColor(50, 170, 90));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath q;
    q.moveTo(11.5, 12);
    q.cubicTo(11.5, 6.5, 20.5, 6.5, 20.5, 12);
    q.cubicTo(20.5, 15.5, 16, 15.5, 16, 19);
    p.setBrush(Qt::NoBrush);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14.2, 22, 3.6, 3.6));
}

void closeArt(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
}

void arrow(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{6, 11}, {26, 11}, {16, 23}});
}

void face(QPainter& p, bool happy) {
    p.setPen(QPen(QColor(150, 100, 0), 1.5));
    p.setBrush(happy ? QColor(255, 210, 40) : QColor(250, 170, 60));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 0));
    p.drawEllipse(QRectF(10, 10, 3.5, 4.5));
    p.drawEllipse(QRectF(18.5, 10, 3.5, 4.5));
    p.setPen(QPen(QColor(60, 40, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth;
    mouth.moveTo(9.5, happy ? 19 : 23.5);
    mouth.quadTo(16, happy ? 26 : 16.5, 22.5, happy ? 19 : 23.5);
    p.drawPath(mouth);
}

void smile(QPainter& p) { face(p, true); }
void frown(QPainter& p) { face(p, false); }

Draw drawing(Art art) {
    switch (art) {
    case Art::AppIcon: return appIcon;
    case Art::Open: return open;
    case Art::Feedback: return feedback;
    case Art::About: return about;
    case Art::Exit: return exitArt;
    case Art::Help: return help;
    case Art::Close: return closeArt;
    case Art::Arrow: return arrow;
    case Art::Smile: return smile;
    case Art::Frown: return frown;
    }
    return appIcon;
}

} // namespace

void paintArt(Art art, QPainter& painter, qreal size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    drawing(art)(painter);
    painter.restore();
}

QImage artImage(Art art, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintArt(art, p, size);
    return image;
}

QPixmap artPixmap(Art art, int size) {
    return QPixmap::fromImage(artImage(art, size));
}

QIcon artIcon(Art art) {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(artPixmap(art, size));
    return icon;
}

QPixmap makerLogo() {
    QPixmap logo(344, 105);
    logo.fill(Qt::black);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 344, 0);
    band.setColorAt(0, QColor(0, 60, 20));
    band.setColorAt(0.5, QColor(0, 140, 50));
    band.setColorAt(1, QColor(0, 60, 20));
    p.fillRect(QRect(0, 84, 344, 4), band);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(58);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(font);
    p.setPen(QColor(0, 230, 80));
    p.drawText(QRect(0, 0, 344, 84), Qt::AlignCenter, QStringLiteral("QUARNEL"));
    font.setPixelSize(11);
    font.setBold(false);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(font);
    p.setPen(QColor(160, 255, 190));
    p.drawText(QRect(0, 88, 344, 17), Qt::AlignCenter, QStringLiteral("SOFTWARE"));
    return logo;
}

} // namespace tessaly
