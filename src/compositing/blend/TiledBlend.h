#pragma once

#include "compositing/picture/Bitmap24.h"

#include <QSize>

namespace tessaly {

// Whether a watermark may be tiled over a base picture: it must be strictly
// smaller in both directions.
bool watermarkFits(QSize base, QSize watermark);

// Tiles the watermark edge to edge over base from its top-left corner and
// blends every tile with AlphaBlendTile's rule (key pixels of a colour-keyed
// watermark skipped, tiles cut at the right and bottom edges). The bytes are
// those of AlphaBlendTile called for every grid position, column by column;
// the work is done a base row at a time, so a tiny watermark costs no more
// than a large one. Raises "Bitmaps must be 24 bit" as AlphaBlendTile does.
void blendTiles(Bitmap24& base, const Bitmap24& watermark, int alpha);
// The same for the base rows first..end-1 alone (counted from the top), to
// the bytes blendTiles gives them: a picture can be blended a band of rows at
// a time as they are decoded.
void blendTileRows(Bitmap24& base, const Bitmap24& watermark, int alpha, int first, int end);

} // namespace tessaly
