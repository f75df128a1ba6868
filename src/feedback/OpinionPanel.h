#pragma once

#include <QFrame>

class QLabel;

namespace tessaly {

// One of the two large "I like it!" / "I dislike it!" panels: a picture and a
// caption on a coloured, bevelled panel. Whether it is chosen is read from its
// colour, as the window's logic expects.
class OpinionPanel : public QFrame {
    Q_OBJECT
public:
    OpinionPanel(const QString& caption, const QPixmap& picture, QWidget* parent);

    QColor color() const;
    // Highlight colour, highlight-text font, lowered bevel.
    void select();
    // Button-face colour, window-text font, raised bevel.
    void deselect();
    bool isSelected() const;

    QLabel* image() const { return image_; }
    QLabel* caption() const { return caption_; }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paint(QPalette::ColorRole background, QPalette::ColorRole text, QFrame::Shadow bevel);

    QLabel* image_;
    QLabel* caption_;
};

} // namespace tessaly
