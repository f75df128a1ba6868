#pragma once

#include "stamp/metadata/ExifFields.h"

namespace tessaly {

// The EXIF, interoperability and GPS directories of an EXIF block laid out
// as a TIFF file holds them, in Intel byte order, for a file whose bytes from
// `base` on they are: each directory's entries sorted by tag, values longer
// than four bytes after it, every offset counted from the file's start.
struct TiffExifDirectories {
    QByteArray bytes;
    uint32_t exif = 0; // the offset of the EXIF directory, 0 when there is none
    uint32_t gps = 0;  // and of the GPS directory
};
TiffExifDirectories layOutExifDirectories(const ExifFields& fields, uint32_t base);

} // namespace tessaly
