#pragma once

#include "compositing/picture/Bitmap24.h"

#include <array>
#include <cstdint>
#include <QString>

namespace tessaly {

// The 14-byte file header and 40-byte information header of an uncompressed
// 24-bit BMP file holding the bitmap's rows as they lie in memory.
std::array<uint8_t, 54> bmpHeaders(const Bitmap24& bitmap);
// The same for a 24-bit bitmap of this size.
std::array<uint8_t, 54> bmpHeaders(int width, int height);

// Writes the bitmap as a BMP file, whatever the name's extension, replacing
// any file of that name only once the new one is complete. Raises "Cannot
// create file "%s". %s" or "Stream write error"; an earlier file survives
// both.
void saveBmp(const Bitmap24& bitmap, const QString& path);

} // namespace tessaly
