#pragma once

#include <QSlider>

namespace tessaly {

// A horizontal track bar that reports a change for every scroll notification:
// each step of a drag, each key press or click on the bar, and once more when
// a drag or a key press ends, whether or not the position moved. The value has
// been applied when change() is emitted.
class TrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TrackBar(QWidget* parent = nullptr);

Q_SIGNALS:
    void change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void flush();
    bool pending_ = false;
    bool pressed_ = false;
};

} // namespace tessaly
