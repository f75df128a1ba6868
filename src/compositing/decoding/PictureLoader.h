#pragma once

#include "compositing/decoding/BandSink.h"
#include "compositing/picture/Picture.h"

#include <cstdint>
#include <memory>
#include <QByteArray>
#include <QString>

namespace tessaly {

// The largest picture file the loader reads into memory: room for the
// biggest uncompressed bitmap within the pixel limit (2^28 pixels at 32 bits)
// and its headers.
constexpr int64_t kMaxPictureFileBytes = (int64_t(1) << 30) + (int64_t(1) << 20);

// The extension of a path as the loader sees it: the text after the last "."
// of the file name, empty when the name has none.
QString pictureExtension(const QString& path);

// Whether the loader reads files of this extension (any letter case).
bool readsPictureExtension(const QString& extension);

// Reads the file at path with the decoder that its extension names (bmp, jpg,
// jpeg, png, gif, ico, wmf, emf, tif, tiff, in any letter case); the content
// is never examined to choose. Raises for an unknown extension, a file that
// cannot be opened or read, and content the decoder rejects. A sink, when
// given, is offered the rows of a picture that decodes straight into the
// blend's 24-bit form (upright JPEG photos, opaque PNGs without interlacing)
// a band at a time; the result is null when it took them.
std::unique_ptr<Picture> loadPicture(const QString& path, BandSink* sink = nullptr);
// The same, handing over the file's bytes as well, for a caller that reads
// more of the file than its pixels and should not read the file twice.
std::unique_ptr<Picture> loadPicture(const QString& path, QByteArray& fileBytes,
                                     BandSink* sink = nullptr);

} // namespace tessaly
