#pragma once

#include <QByteArray>
#include <QSize>

namespace tessaly {

// The XMP packet made true to a stamped result of the given size, as its EXIF
// block is: tiff:Orientation says 1, tiff:ImageWidth, tiff:ImageLength,
// exif:PixelXDimension and exif:PixelYDimension give the result's size, and
// the thumbnails (xmp:Thumbnails) are gone. Properties are found in both
// forms that writers use, attribute and element, under their usual prefixes;
// everything else stays byte for byte as it was.
QByteArray xmpForResult(const QByteArray& packet, QSize size);

} // namespace tessaly
