#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/OutputFormat.h"

#include <QByteArray>
#include <QString>

namespace tessaly {

// Writes the result in the format, replacing the name only once the whole
// file is on disk (a temporary ".NAME.*.tmp" beside it until then). A BMP is
// the window's own file; JPEG and PNG carry the EXIF block when one is given.
void writeResult(const Bitmap24& result, const QString& path, OutputFormat format, int quality,
                 const QByteArray& exif);

// Whether the format has room for the base picture's EXIF block.
bool carriesExif(OutputFormat format);

} // namespace tessaly
