#pragma once

#include "stamp/metadata/PhotoMetadata.h"
#include "stamp/OutputFormat.h"

#include <QSize>
#include <QStringList>

namespace tessaly {

// What a stamped result of the given size and format carries of its
// picture's metadata: the EXIF block, XMP packet and IPTC data made true to
// the result (upright, its own size, no thumbnail); the ICC profile only when
// it describes RGB data, as the result's pixels are (a CMYK or grey photo's
// profile would misname them); the resolution that the picture's container
// states, else its EXIF block's. A piece the format has no room for, or that
// cannot be read, is left out with a note for the user in notes. A BMP
// result is the window's own file and carries nothing.
PhotoMetadata metadataForResult(const PhotoMetadata& picture, QSize size, OutputFormat format,
                                QStringList& notes);

// Whether the ICC profile is whole (its stated length, its signature) and
// describes RGB data.
bool isRgbProfile(const QByteArray& icc);

// The largest EXIF block and XMP packet that one JPEG segment holds, and the
// largest ICC profile that its 255 numbered segments hold.
constexpr qsizetype kMaxJpegExif = 65533 - 6;
constexpr qsizetype kMaxJpegXmp = 65533 - 29;
constexpr qsizetype kMaxJpegIcc = qsizetype(255) * (65533 - 14);

} // namespace tessaly
