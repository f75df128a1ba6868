#pragma once

#include "stamp/metadata/PhotoMetadata.h"

namespace tessaly {

// The metadata of a picture file held in memory (the bytes that the loader
// read), recognised by the file's content: JPEG, PNG and TIFF files carry
// some; other kinds give none. A damaged or missing piece is simply absent:
// reading never raises for the file's content and never reads outside it.
PhotoMetadata readPhotoMetadata(const QByteArray& file);

// One reader per container; each expects a file of its kind.
PhotoMetadata readJpegMetadata(const QByteArray& file);
PhotoMetadata readPngMetadata(const QByteArray& file);
PhotoMetadata readTiffMetadata(const QByteArray& file);

} // namespace tessaly
