#pragma once

#include "compositing/decoding/DecodedRows.h"
#include "compositing/picture/Picture.h"

#include <memory>
#include <QByteArray>

namespace tessaly {

// JPEG files, baseline and progressive, colour, greyscale and CMYK (Adobe's
// inverted form too), decoded at full size to an opaque picture, turned
// upright by its EXIF orientation (its natural size is the upright size). Raises
// "JPEG error #%d" with libjpeg's message code.
std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes);
// The same, announcing the rows of an upright photo to listener (when not
// null) as they are decoded.
std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes, DecodedRows* listener);

} // namespace tessaly
