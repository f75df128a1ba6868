#pragma once

#include <QWidget>

namespace tessaly {

class Picture;

// A preview box: shows a slot's picture scaled to fit with its proportions
// kept, at the top-left corner, over the window's background.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The picture shown (not owned); nullptr shows nothing.
    void setPicture(const Picture* picture);
    const Picture* picture() const { return picture_; }
    // The rectangle the picture is drawn into, empty when there is none.
    QRect shownRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Picture* picture_ = nullptr;
};

} // namespace tessaly
