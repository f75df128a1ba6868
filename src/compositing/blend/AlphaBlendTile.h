#pragma once

#include "compositing/picture/Bitmap24.h"

#include <cstdint>

namespace tessaly {

// Mixes Src into Dest with its top-left pixel at column X, row Y of Dest (rows
// counted from the top), Dest weighing Alpha/256 and Src the rest. Pixels of
// a colour-keyed Src that match its key colour leave Dest alone. Returns false,
// changing nothing, when Src placed there does not overlap Dest. Raises
// "Bitmaps must be 24 bit" before anything else when either bitmap has another
// depth.
//
// This is the plain table version, one tile per call; blendTiles() does the
// whole tiled blend to the same bytes at memory speed.
bool AlphaBlendTile(Bitmap24& Dest, const Bitmap24& Src, int32_t X, int32_t Y, int32_t Alpha);

// Raises "Bitmaps must be 24 bit" unless both bitmaps have 24 bits per pixel.
void requireDepth24(const Bitmap24& a, const Bitmap24& b);

} // namespace tessaly
