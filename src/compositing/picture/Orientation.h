#pragma once

#include <QImage>

namespace tessaly {

// How a picture's stored rows stand to the upright picture, as the EXIF and
// TIFF Orientation tags say it: 1 stored upright, 2 mirrored left to right,
// 3 turned half round, 4 mirrored top to bottom, 5 mirrored along the
// top-left to bottom-right diagonal, 6 to be turned a quarter clockwise,
// 7 mirrored along the other diagonal, 8 to be turned a quarter
// anticlockwise. Any other value counts as 1.
bool isOrientation(int value);

// The stored pixels made upright; the picture's width and height trade
// places for 5 to 8. Works on the raster forms of RasterPicture (BGR888 and
// ARGB32) and keeps the format; the image comes back unchanged for 1.
// Raises the size-limit error only as new pixels are made.
QImage uprightImage(QImage stored, int orientation);

} // namespace tessaly
