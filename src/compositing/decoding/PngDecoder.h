#pragma once

#include "compositing/decoding/BandSink.h"
#include "compositing/picture/Picture.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <QByteArray>
#include <QImage>

namespace tessaly {

// PNG files of every colour type and bit depth, interlaced or not. Without
// transparency the picture is opaque; a colour key, or a palette that makes
// one entry fully transparent, leaves those pixels white; an alpha channel or
// graded palette transparency blends each pixel over white by its alpha.
// Raises "PNG image is not valid: " with libpng's reason.
std::unique_ptr<Picture> decodePng(const QByteArray& bytes);
// The same, handing an opaque picture without interlacing to sink (when not
// null) a band of rows at a time as it decodes. Returns null when the sink
// took the rows.
std::unique_ptr<Picture> decodePng(const QByteArray& bytes, BandSink* sink);

// The pixels of a PNG stream in one of RasterPicture's forms; also used for
// the PNG images inside icon files, which report damage with their own
// message (invalidMessage) rather than the PNG one.
QImage decodePngImage(const uint8_t* data, std::size_t size, const char* invalidMessage = nullptr);

} // namespace tessaly
