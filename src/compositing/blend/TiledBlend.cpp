#include "compositing/blend/TiledBlend.h"

#include "compositing/blend/AlphaBlendTile.h"

#include <algorithm>

namespace tessaly {

namespace {

// The row blend asks for the bytes ahead of it within a row; the start of the
// next row it goes to lies elsewhere, and is asked for here.
void prefetchStart(const uint8_t* row, std::size_t bytes) {
    for (std::size_t at = 0; at < std::min<std::size_t>(bytes, 2048); at += 64)
        __builtin_prefetch(row + at, 1);
}

// Every row of `rows`, which are rows shift.. of the picture that the
// watermark is tiled over; picture row y lies under watermark row y mod h.
// With the watermark's rows kept, the rows are blended in order, so that
// memory is read as one stream; otherwise each watermark row is prepared once
// and blended into every row it covers before the next. One thread: two bands
// on two threads measured no faster on a busy two-core machine.
void blendRows(Bitmap24& rows, PreparedWatermark& mark, int shift) {
    const std::size_t bytes = std::size_t(rows.width()) * 3;
    const int h = mark.height(), end = rows.height();
    const auto markRow = [&](int y) { return int((int64_t(y) + shift) % h); };
    const int passes = mark.keepsRows() ? 1 : std::min(h, end);
    const int step = mark.keepsRows() ? 1 : h;
    for (int top = 0; top < passes; ++top) {
        for (int y = top; y < end; y += step) {
            if (y + step < end)
                prefetchStart(rows.scanLine(y + step), bytes);
            mark.blendInto(rows.scanLine(y), bytes, markRow(y));
        }
    }
}

} // namespace

bool watermarkFits(QSize base, QSize watermark) {
    return watermark.width() < base.width() && watermark.height() < base.height();
}

void blendTiles(Bitmap24& base, const Bitmap24& watermark, int alpha) {
    requireDepth24(base, watermark);
    if (base.width() == 0 || base.height() == 0)
        return;
    PreparedWatermark mark(watermark, base.width(), alpha);
    blendTileBand(base, mark, 0);
}

void blendTileBand(Bitmap24& band, PreparedWatermark& watermark, int firstRow) {
    requireDepth24(band, band);
    if (band.width() == 0 || band.height() == 0 || watermark.empty())
        return; // an empty tile overlaps nothing
    blendRows(band, watermark, firstRow);
}

} // namespace tessaly
