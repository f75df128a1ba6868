#include "feedback/OpinionPanel.h"

#include "platform/Fonts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace tessaly {

OpinionPanel::OpinionPanel(const QString& caption, const QPixmap& picture, QWidget* parent)
    : QFrame(parent), image_(new QLabel(this)), caption_(new QLabel(caption, this)) {
    setFrameShape(QFrame::Panel);
    setLineWidth(1);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    image_->setPixmap(picture);
    image_->setScaledContents(true);
    image_->setFixedSize(32, 32);
    // Clicks on the picture count as clicks on the panel.
    image_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->setFont(tahoma(16));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(image_);
    layout->addWidget(caption_, 1);
    deselect();
}

QColor OpinionPanel::color() const {
    return palette().color(QPalette::Window);
}

bool OpinionPanel::isSelected() const {
    return color() == QApplication::palette().color(QPalette::Highlight);
}

void OpinionPanel::select() {
    paint(QPalette::Highlight, QPalette::HighlightedText, QFrame::Sunken);
}

void OpinionPanel::deselect() {
    paint(QPalette::Button, QPalette::WindowText, QFrame::Raised);
}

void OpinionPanel::paint(QPalette::ColorRole background, QPalette::ColorRole text,
                         QFrame::Shadow bevel) {
    const QPalette system = QApplication::palette();
    QPalette p = palette();
    p.setColor(QPalette::Window, system.color(background));
    p.setColor(QPalette::WindowText, system.color(text));
    setPalette(p);
    caption_->setPalette(p);
    setFrameShadow(bevel);
}

void OpinionPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace tessaly
