#include "compositing/blend/TiledBlend.h"

#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/BlendKernel.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tessaly {

namespace {

// Watermark rows are prepared over at least this many bytes, a whole number
// of tiles, so that a narrow watermark still blends in long runs.
constexpr std::size_t kRunBytes = 4096;

// Copies the filled, whole-period prefix after itself until `length` is full.
template <typename T> void repeatPrefix(T* row, std::size_t filled, std::size_t length) {
    while (filled < length) {
        const std::size_t n = std::min(filled, length - filled);
        std::memcpy(row + filled, row, n * sizeof(T));
        filled += n;
    }
}

// One watermark row prepared for the blend and repeated over one run.
class PreparedRow {
public:
    PreparedRow(const Bitmap24& mark, std::size_t baseBytes)
        : mark_(mark), period_(std::min(std::size_t(mark.width()) * 3, baseBytes)),
          run_(period_ * std::max<std::size_t>(1, kRunBytes / period_)), keep_(period_),
          weight_(run_), offset_(run_) {
        if (mark.colourKeyed())
            key_ = mark.bits(); // column 0 of the bottom row
    }

    void prepare(int row, int alpha) {
        const uint8_t* pixels = mark_.scanLine(row);
        for (std::size_t i = 0; i < period_; i += 3) {
            const bool isKey = key_ && std::memcmp(pixels + i, key_, 3) == 0;
            std::memset(keep_.data() + i, isKey, std::min<std::size_t>(3, period_ - i));
        }
        prepareMarkRow(pixels, keep_.data(), period_, alpha, weight_.data(), offset_.data());
        repeatPrefix(weight_.data(), period_, run_);
        repeatPrefix(offset_.data(), period_, run_);
    }

    // Runs start at tile boundaries, so each one begins with the tile's first
    // column.
    void blendInto(uint8_t* row, std::size_t bytes) const {
        for (std::size_t at = 0; at < bytes; at += run_)
            blendRow(row + at, weight_.data(), offset_.data(), std::min(run_, bytes - at));
    }

private:
    const Bitmap24& mark_;
    const uint8_t* key_ = nullptr;
    std::size_t period_, run_;
    std::vector<uint8_t> keep_;
    std::vector<uint16_t> weight_, offset_;
};

// The row blend asks for the bytes ahead of it within a row; the start of the
// next row it goes to lies elsewhere, and is asked for here.
void prefetchStart(const uint8_t* row, std::size_t bytes) {
    for (std::size_t at = 0; at < std::min<std::size_t>(bytes, 2048); at += 64)
        __builtin_prefetch(row + at, 1);
}

// Base rows first..end-1: each watermark row that lies under them is
// prepared once and blended into every one of them that it covers.
void blendRows(Bitmap24& base, PreparedRow& prepared, int markHeight, int alpha, int first,
               int end) {
    const std::size_t bytes = std::size_t(base.width()) * 3;
    for (int top = first; top < std::min(first + markHeight, end); ++top) {
        prepared.prepare(top % markHeight, alpha);
        for (int y = top; y < end; y += markHeight) {
            if (y + markHeight < end)
                prefetchStart(base.scanLine(y + markHeight), bytes);
            prepared.blendInto(base.scanLine(y), bytes);
        }
    }
}

} // namespace

bool watermarkFits(QSize base, QSize watermark) {
    return watermark.width() < base.width() && watermark.height() < base.height();
}

void blendTiles(Bitmap24& base, const Bitmap24& watermark, int alpha) {
    blendTileRows(base, watermark, alpha, 0, base.height());
}

void blendTileRows(Bitmap24& base, const Bitmap24& watermark, int alpha, int first, int end) {
    requireDepth24(base, watermark);
    first = std::clamp(first, 0, base.height());
    end = std::clamp(end, first, base.height());
    if (base.width() == 0 || first == end || watermark.width() == 0 || watermark.height() == 0)
        return; // an empty tile overlaps nothing
    // Base row y lies under watermark row y mod h. One thread: two bands on
    // two threads measured no faster on a busy two-core machine.
    PreparedRow prepared(watermark, std::size_t(base.width()) * 3);
    blendRows(base, prepared, watermark.height(), alpha, first, end);
}

} // namespace tessaly
