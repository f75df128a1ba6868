#include "compositing/blend/PreparedWatermark.h"

#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/BlendKernel.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

namespace {

// Watermark rows are prepared over at least this many bytes, a whole number
// of tiles: long enough that each call of the row blend has work to do.
constexpr std::size_t kRunBytes = 1024;
// Kept rows take at most this much memory, within the processor's second
// level cache, so that reading them costs the blend nothing next to the
// picture's own bytes.
constexpr std::size_t kKeptBytes = std::size_t(512) << 10;

// Copies the filled, whole-period prefix after itself until `length` is full.
template <typename T> void repeatPrefix(T* row, std::size_t filled, std::size_t length) {
    while (filled < length) {
        const std::size_t n = std::min(filled, length - filled);
        std::memcpy(row + filled, row, n * sizeof(T));
        filled += n;
    }
}

} // namespace

PreparedWatermark::PreparedWatermark(const Bitmap24& watermark, int pictureWidth, int alpha)
    : mark_(watermark), alpha_(alpha),
      period_(std::min(std::size_t(watermark.width()), std::size_t(pictureWidth)) * 3),
      run_(period_ * std::max<std::size_t>(1, kRunBytes / std::max<std::size_t>(1, period_))),
      keep_(run_ * 4 * std::size_t(watermark.height()) <= kKeptBytes), isKey_(period_),
      rows_(keep_ ? std::size_t(watermark.height()) : 1) {
    requireDepth24(watermark, watermark);
    if (watermark.colourKeyed())
        key_ = watermark.bits(); // column 0 of the bottom row
}

void PreparedWatermark::prepare(int row, Row& into) {
    const uint8_t* pixels = mark_.scanLine(row);
    for (std::size_t i = 0; i < period_; i += 3) {
        const bool isKey = key_ && std::memcmp(pixels + i, key_, 3) == 0;
        std::memset(isKey_.data() + i, isKey, std::min<std::size_t>(3, period_ - i));
    }
    into.weight.resize(run_);
    into.offset.resize(run_);
    prepareMarkRow(pixels, isKey_.data(), period_, alpha_, into.weight.data(), into.offset.data());
    repeatPrefix(into.weight.data(), period_, run_);
    repeatPrefix(into.offset.data(), period_, run_);
}

// A kept row is prepared once; the one row of a larger watermark whenever
// another row is asked for.
PreparedWatermark::Row& PreparedWatermark::prepared(int row) {
    Row& r = rows_[keep_ ? std::size_t(row) : 0];
    if (r.weight.empty() || (!keep_ && row != last_)) {
        prepare(row, r);
        last_ = row;
    }
    return r;
}

// Runs start at tile boundaries, so each one begins with the tile's first
// column.
void PreparedWatermark::blendInto(uint8_t* pictureRow, std::size_t bytes, int row) {
    const Row& r = prepared(row);
    for (std::size_t at = 0; at < bytes; at += run_)
        blendRow(pictureRow + at, r.weight.data(), r.offset.data(), std::min(run_, bytes - at));
}

} // namespace tessaly
