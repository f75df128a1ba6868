#pragma once

#include <QFont>

namespace tessaly {

// The windows' font, Tahoma, at a character height in pixels (the em size).
// Where Tahoma is missing the application maps it to a similar sans serif.
inline QFont tahoma(int pixelHeight, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace tessaly
