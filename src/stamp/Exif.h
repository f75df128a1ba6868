#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// The largest EXIF block carried over: what one JPEG APP1 segment holds after
// its "Exif\0\0" header.
constexpr int kMaxExifBytes = 65533 - 6;

// The EXIF block of a picture file (its TIFF header onward): from a JPEG's
// APP1 "Exif" segment or a PNG's eXIf chunk, recognised by the file's content.
// Empty when the file has none, is of another kind, is damaged or cannot be
// read, or when the block is larger than kMaxExifBytes; never raises.
QByteArray readExifBlock(const QString& path);

} // namespace tessaly
