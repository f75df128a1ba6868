#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/metadata/PhotoMetadata.h"

#include <QByteArray>

namespace tessaly {

// The bitmap as an 8-bit RGB PNG file, with the metadata in the chunks that
// readers look in: EXIF in eXIf, the ICC profile in iCCP, XMP in an iTXt
// chunk "XML:com.adobe.xmp", IPTC in a zTXt chunk "Raw profile type iptc"
// (ImageMagick's convention), the resolution in pHYs. Raises
// "PNG error: %s" with libpng's message.
QByteArray encodePng(const Bitmap24& bitmap, const PhotoMetadata& metadata);

} // namespace tessaly
