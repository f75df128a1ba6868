#include "app/TrackBar.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tessaly {

namespace {
bool isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}
} // namespace

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // The slider moves first and reports after its value is set; the actions
    // are only noted here.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int) { pending_ = true; });
}

void TrackBar::flush() {
    if (pending_) {
        pending_ = false;
        Q_EMIT change();
    }
}

void TrackBar::keyPressEvent(QKeyEvent* event) {
    QSlider::keyPressEvent(event);
    if (isNavigationKey(event->key()))
        pending_ = true; // a press at either end still notifies
    flush();
}

void TrackBar::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    if (isNavigationKey(event->key()) && !event->isAutoRepeat()) {
        pending_ = true; // the end of the key press
        flush();
    }
}

void TrackBar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    pressed_ = event->button() == Qt::LeftButton;
    flush();
}

void TrackBar::mouseMoveEvent(QMouseEvent* event) {
    QSlider::mouseMoveEvent(event);
    flush();
}

void TrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (pressed_ && event->button() == Qt::LeftButton) {
        pressed_ = false;
        pending_ = true; // the end of the drag or click
    }
    flush();
}

void TrackBar::wheelEvent(QWheelEvent* event) {
    QSlider::wheelEvent(event);
    flush();
}

void TrackBar::timerEvent(QTimerEvent* event) {
    QSlider::timerEvent(event); // the repeated steps of a held click
    flush();
}

} // namespace tessaly
