#pragma once

#include "compositing/decoding/BandSink.h"
#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// JPEG files, baseline and progressive, colour, greyscale and CMYK (Adobe's
// inverted form too), decoded at full size to an opaque picture, turned
// upright by its EXIF orientation (its natural size is the upright size). Raises
// "JPEG error #%d" with libjpeg's message code.
std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes);
// The same, handing an upright photo to sink (when not null) a band of rows
// at a time as it decodes. Returns null when the sink took the rows.
std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes, BandSink* sink);

} // namespace tessaly
