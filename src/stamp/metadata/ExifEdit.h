#pragma once

#include "stamp/metadata/PhotoMetadata.h"

#include <QSize>

namespace tessaly {

// The EXIF block (from its TIFF header on) made true to a stamped result of
// the given size: its Orientation says 1, as the result's pixels stand
// upright; its thumbnail is gone, so that nothing shows the picture without
// its watermark; and its pixel-size tags give the result's size. Entries that
// hold a JPEG picture of their own (some maker notes keep a preview) go with
// the thumbnail. Empty when libexif cannot read the block.
QByteArray exifForResult(const QByteArray& block, QSize size);

// The resolution that the block's first directory gives the picture, if any.
std::optional<Resolution> exifResolution(const QByteArray& block);

} // namespace tessaly
