#include "compositing/decoding/tiff/TiffSampleReader.h"

#include "compositing/decoding/tiff/TiffChunks.h"
#include "compositing/decoding/tiff/TiffPixels.h"
#include "compositing/decoding/tiff/TiffSamples.h"
#include "compositing/picture/RasterPicture.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

// Pixels widened at a time: the buffer stays small however wide the picture.
constexpr uint32_t kSpan = 1024;

// Widens and composes the pixels of one row of a chunk, a span at a time.
void composeRow(const TiffChunk& chunk, uint32_t row, const TiffLayout& layout,
                std::vector<uint16_t>& wide, uint8_t* out, int outBytes) {
    const int perPixel = layout.usedSamples();
    for (uint32_t x = 0; x < chunk.width; x += kSpan) {
        const int count = int(std::min(kSpan, chunk.width - x));
        for (int s = 0; s < perPixel; ++s) {
            SampleRun run = chunk.run(s, row);
            run.firstBit += uint64_t(x) * run.bitStride;
            run.count = count;
            widenSamples(run, layout, wide.data() + s, perPixel);
        }
        composePixels(wide.data(), count, layout, out + std::size_t(x) * outBytes);
    }
}

} // namespace

QImage readBySamples(TIFF* tif, const TiffLayout& layout) {
    const bool alpha = layout.alpha != TiffLayout::Alpha::None;
    const int w = int(layout.width), h = int(layout.height);
    // Every pixel lies in one strip or tile, which is read in full or fails.
    QImage image = alpha ? RasterPicture::newTransparent(w, h, RasterPicture::Fill::None)
                         : RasterPicture::newOpaque(w, h, RasterPicture::Fill::None);
    const int outBytes = alpha ? 4 : 3;
    std::vector<uint16_t> wide(std::size_t(kSpan) * layout.usedSamples());
    forEachChunk(tif, layout, [&](const TiffChunk& chunk) {
        for (uint32_t row = 0; row < chunk.height; ++row) {
            uint8_t* out = image.scanLine(int(chunk.y + row)) + std::size_t(chunk.x) * outBytes;
            composeRow(chunk, row, layout, wide, out, outBytes);
        }
    });
    return image;
}

} // namespace tessaly
