#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly {

// The Orientation tag (1 to 8) of the main picture in an EXIF block, as a
// JPEG's APP1 segment holds it ("Exif\0\0" and the TIFF structure after it).
// 1 when the block has no such tag, holds another value, or cannot be
// parsed: a damaged block never keeps a picture from loading.
int exifOrientation(const uint8_t* block, std::size_t size);

} // namespace tessaly
