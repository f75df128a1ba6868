#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/metadata/PhotoMetadata.h"

#include <QByteArray>

namespace tessaly {

// How the colour of a JPEG result is sampled: every pixel (4:4:4), every
// second one across (4:2:2) or every second one both ways (4:2:0, libjpeg's
// default and the most common).
enum class ChromaSampling { Full444, Half422, Quarter420 };

struct JpegSettings {
    int quality = 92; // 1 to 100
    ChromaSampling sampling = ChromaSampling::Quarter420;
};

// The bitmap as a baseline JPEG file, with the metadata in the segments that
// readers look in: the resolution in the JFIF header, EXIF and XMP in APP1,
// the ICC profile in APP2 (libjpeg's own chunking), IPTC in APP13 as
// Photoshop's resource block. The EXIF block and XMP packet must each fit in
// one segment. Raises "JPEG error #%d" with libjpeg's message code.
QByteArray encodeJpeg(const Bitmap24& bitmap, const JpegSettings& settings,
                      const PhotoMetadata& metadata);

} // namespace tessaly
