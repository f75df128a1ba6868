#pragma once

#include "compositing/decoding/tiff/TiffLayout.h"
#include "compositing/decoding/tiff/TiffSamples.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <tiffio.h>
#include <vector>

namespace tessaly {

// One strip or tile, decoded by libtiff: the samples of the picture's
// rectangle at (x, y), width x height pixels, for each sample the layout
// uses (the colours, then alpha).
struct TiffChunk {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    std::vector<const uint8_t*> planes; // each used sample's buffer (one for interleaved)
    std::vector<uint64_t> firstBits;    // each used sample's bit offset in a row
    std::size_t rowBytes = 0;           // from one row of a buffer to the next
    uint64_t pixelBits = 0;             // from one pixel of a sample to the next

    SampleRun run(int sample, uint32_t row) const {
        return {planes[sample] + row * rowBytes, firstBits[sample], pixelBits, int(width)};
    }
};

// Decodes every strip or tile of the directory in turn, all planes of it
// that the layout uses at once, and hands each to `visit`. Raises "Invalid
// image" when libtiff cannot decode one in full, and the size error when
// one is larger than the program reads.
void forEachChunk(TIFF* tif, const TiffLayout& layout,
                  const std::function<void(const TiffChunk&)>& visit);

} // namespace tessaly
