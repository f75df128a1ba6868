#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace tessaly {

// A label that reports a click of the left button, for the link texts.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    // The label keeps its presses, so that a press on a link never reaches a
    // parent that would start something else (a drag of the window).
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
    }
};

} // namespace tessaly
