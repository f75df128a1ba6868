#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

class QPainter;

namespace tessaly {

// The program's own pictures, drawn by code so that they stay crisp at every
// size they are used at (16 x 16 glyphs, 32 x 32 icons).
enum class Art {
    AppIcon,   // the application's icon: a tiled stamp
    Open,      // load buttons and menu items
    Feedback,  // an envelope
    About,     // an information sign
    Exit,      // a door with an arrow
    Help,      // a question mark
    Close,     // a cross, for the update popup
    Arrow,     // a downward triangle, for the About window's Info button
    Smile,     // "I like it!"
    Frown,     // "I dislike it!"
};

// Paints the picture into the square (0, 0) to (size, size) of any painter:
// a pixmap, an image or a vector file.
void paintArt(Art art, QPainter& painter, qreal size);
QImage artImage(Art art, int size);
QPixmap artPixmap(Art art, int size);
// The picture at 16 x 16 and 32 x 32.
QIcon artIcon(Art art);
// The maker's logo, 344 x 105, showing the maker's name.
QPixmap makerLogo();

} // namespace tessaly
