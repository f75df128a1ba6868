#pragma once

#include "compositing/blend/PreparedWatermark.h"
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
// The same for a band of a picture's rows held apart from the rest, as a
// picture is blended a band at a time while it decodes: band row r is row
// firstRow + r of the picture, and gets the bytes that blendTiles gives that
// row. The watermark is prepared once for all bands of the picture, whose
// width the band must have.
void blendTileBand(Bitmap24& band, PreparedWatermark& watermark, int firstRow);

} // namespace tessaly
