#pragma once

#include "stamp/metadata/ExifFields.h"

namespace tessaly {

// The EXIF and GPS directories of a classic TIFF file held in memory, read
// from the offsets that its first directory gives (0 for none), with the
// interoperability directory that the EXIF directory points to. Entries that
// reach outside the file, of unknown types or pointing to further
// directories are left out; values are turned into Intel byte order.
ExifFields readTiffExifDirectories(const QByteArray& file, uint64_t exifOffset, uint64_t gpsOffset);

} // namespace tessaly
