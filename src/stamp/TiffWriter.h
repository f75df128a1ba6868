#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/metadata/PhotoMetadata.h"

#include <QByteArray>

namespace tessaly {

// The bitmap as an uncompressed 8-bit RGB TIFF file in Intel byte order,
// with the metadata in the tags that readers look in: the ICC profile
// (34675), XMP (700), IPTC (33723), the resolution, the EXIF block's
// descriptive tags of the picture (make, model, date, artist, copyright...)
// in the first directory and its EXIF and GPS directories as such. Raises
// "TIFF error: %s" with libtiff's message when libtiff cannot write it.
QByteArray encodeTiff(const Bitmap24& bitmap, const PhotoMetadata& metadata);

} // namespace tessaly
