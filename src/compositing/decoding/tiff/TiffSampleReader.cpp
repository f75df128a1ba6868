#include "compositing/decoding/tiff/TiffSampleReader.h"

#include "compositing/decoding/tiff/TiffChunks.h"
#include "compositing/decoding/tiff/TiffPixels.h"
#include "compositing/decoding/tiff/TiffSamples.h"
#include "compositing/picture/RasterPicture.h"

#include <vector>

namespace tessaly {

QImage readBySamples(TIFF* tif, const TiffLayout& layout) {
    const bool alpha = layout.alpha != TiffLayout::Alpha::None;
    const int w = int(layout.width), h = int(layout.height);
    // Every pixel lies in one strip or tile, which is read in full or fails.
    QImage image = alpha ? RasterPicture::newTransparent(w, h, RasterPicture::Fill::None)
                         : RasterPicture::newOpaque(w, h, RasterPicture::Fill::None);
    const int perPixel = layout.usedSamples();
    const int outBytes = alpha ? 4 : 3;
    std::vector<uint16_t> wide;
    forEachChunk(tif, layout, [&](const TiffChunk& chunk) {
        wide.resize(std::size_t(chunk.width) * perPixel);
        for (uint32_t row = 0; row < chunk.height; ++row) {
            for (int s = 0; s < perPixel; ++s)
                widenSamples(chunk.run(s, row), layout, wide.data() + s, perPixel);
            uint8_t* out = image.scanLine(int(chunk.y + row)) + std::size_t(chunk.x) * outBytes;
            composePixels(wide.data(), int(chunk.width), layout, out);
        }
    });
    return image;
}

} // namespace tessaly
