#include "compositing/TiledBlend.h"

#include "compositing/AlphaBlendTile.h"
#include "compositing/BlendKernel.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tessaly {

namespace {

// One watermark row repeated across the base's width, with the keep mask that
// marks its key pixels.
struct ExpandedRow {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> keep;
    explicit ExpandedRow(std::size_t bytes) : pixels(bytes), keep(bytes) {}
};

// Copies the filled, whole-period prefix after itself until the row is full.
void repeatPrefix(uint8_t* row, std::size_t filled, std::size_t bytes) {
    while (filled < bytes) {
        const std::size_t n = std::min(filled, bytes - filled);
        std::memcpy(row + filled, row, n);
        filled += n;
    }
}

void expand(const uint8_t* source, int width, const uint8_t* key, ExpandedRow& out) {
    const std::size_t bytes = out.pixels.size();
    const std::size_t period = std::min(std::size_t(width) * 3, bytes);
    std::memcpy(out.pixels.data(), source, period);
    for (std::size_t i = 0; i < period; i += 3) {
        const bool isKey = key && std::memcmp(source + i, key, 3) == 0;
        std::memset(out.keep.data() + i, isKey ? 0xFF : 0x00, std::min<std::size_t>(3, period - i));
    }
    repeatPrefix(out.pixels.data(), period, bytes);
    repeatPrefix(out.keep.data(), period, bytes);
}

} // namespace

bool watermarkFits(QSize base, QSize watermark) {
    return watermark.width() < base.width() && watermark.height() < base.height();
}

void blendTiles(Bitmap24& base, const Bitmap24& watermark, int alpha) {
    requireDepth24(base, watermark);
    const int w = watermark.width(), h = watermark.height();
    if (base.width() == 0 || base.height() == 0 || w == 0 || h == 0)
        return; // an empty tile overlaps nothing
    const uint8_t* key = watermark.colourKeyed() ? watermark.bits() : nullptr;
    const std::size_t bytes = std::size_t(base.width()) * 3;
    ExpandedRow row(bytes);
    // Base row y lies under watermark row y mod h: expand each watermark row
    // once and blend every base row under it.
    for (int r = 0; r < std::min(h, base.height()); ++r) {
        expand(watermark.scanLine(r), w, key, row);
        for (int y = r; y < base.height(); y += h)
            blendRow(base.scanLine(y), row.pixels.data(), row.keep.data(), bytes, alpha);
    }
}

} // namespace tessaly
