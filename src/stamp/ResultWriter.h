#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/JpegWriter.h"
#include "stamp/metadata/PhotoMetadata.h"
#include "stamp/OutputFormat.h"

#include <QByteArray>
#include <QString>

namespace tessaly {

// Writes the result in the format, replacing the name only once the whole
// file is on disk (a temporary ".NAME.*.tmp" beside it until then). A BMP is
// the window's own file and carries no metadata; JPEG, PNG and TIFF files
// carry what they are given.
void writeResult(const Bitmap24& result, const QString& path, OutputFormat format,
                 const JpegSettings& jpeg, const PhotoMetadata& metadata);

} // namespace tessaly
