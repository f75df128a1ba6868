#include "compositing/decoding/tiff/TiffChunks.h"

#include "compositing/decoding/tiff/TiffFile.h"
#include "platform/Error.h"

#include <algorithm>
#include <memory>
#include <new>

namespace tessaly {

namespace {

// The shape that every strip or tile of the directory is decoded into.
struct ChunkShape {
    uint32_t width = 0;    // the image width for strips
    uint32_t rows = 0;     // rows a strip, or the tile length
    uint64_t rowBytes = 0; // rows are padded to whole bytes
    uint64_t pixelBits = 0;
    uint64_t bytes = 0; // one plane of it (all samples when interleaved)
};

uint64_t product(uint64_t a, uint64_t b) {
    uint64_t p;
    if (__builtin_mul_overflow(a, b, &p))
        failTiff();
    return p;
}

[[noreturn]] void tooLarge(uint64_t bytes) {
    throw Error(QStringLiteral("Picture is too large (a TIFF strip or tile of %1 MB; the limit "
                               "is %2 MB)")
                    .arg(bytes >> 20)
                    .arg(uint64_t(kMaxTiffAllocation) >> 20));
}

// The row size we index by must be the one libtiff decodes with; they part
// only for layouts this reader does not take (subsampled colour).
ChunkShape chunkShape(TIFF* tif, const TiffLayout& layout) {
    ChunkShape shape;
    uint64_t libtiffRowBytes = 0;
    if (layout.tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &shape.width);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &shape.rows);
        libtiffRowBytes = TIFFTileRowSize64(tif);
    } else {
        shape.width = layout.width;
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &shape.rows);
        shape.rows = std::min(shape.rows, layout.height);
        libtiffRowBytes = TIFFScanlineSize64(tif);
    }
    if (shape.width == 0 || shape.rows == 0)
        failTiff();
    shape.pixelBits = uint64_t(sampleBits(layout)) * (layout.planar ? 1 : layout.samplesPerPixel);
    shape.rowBytes = (product(shape.width, shape.pixelBits) + 7) / 8;
    if (shape.rowBytes != libtiffRowBytes)
        failTiff();
    shape.bytes = product(shape.rowBytes, shape.rows);
    const uint64_t planes = layout.planar ? uint64_t(layout.usedSamples()) : 1;
    if (product(shape.bytes, planes) > uint64_t(kMaxTiffAllocation))
        tooLarge(shape.bytes * planes);
    return shape;
}

// Decodes strip or tile `index` into `to`, which holds `bytes`: all of it, or
// the strip's rows that the picture has.
void readChunk(TIFF* tif, bool tiled, uint32_t index, uint8_t* to, uint64_t bytes) {
    const tmsize_t got = tiled ? TIFFReadEncodedTile(tif, index, to, tmsize_t(bytes))
                               : TIFFReadEncodedStrip(tif, index, to, tmsize_t(bytes));
    if (got < 0 || uint64_t(got) != bytes)
        failTiff();
}

std::unique_ptr<uint8_t[]> allocate(uint64_t bytes) {
    std::unique_ptr<uint8_t[]> p(new (std::nothrow) uint8_t[bytes]);
    if (!p)
        throw Error(QStringLiteral("Not enough memory to read a TIFF image"));
    return p;
}

class ChunkReader {
public:
    ChunkReader(TIFF* tif, const TiffLayout& layout)
        : tif_(tif), layout_(layout), shape_(chunkShape(tif, layout)) {
        const int planes = layout.planar ? layout.usedSamples() : 1;
        for (int p = 0; p < planes; ++p)
            buffers_.push_back(allocate(shape_.bytes));
        chunk_.rowBytes = shape_.rowBytes;
        chunk_.pixelBits = shape_.pixelBits;
        for (int s = 0; s < layout.usedSamples(); ++s) {
            chunk_.planes.push_back(buffers_[layout.planar ? s : 0].get());
            chunk_.firstBits.push_back(layout.planar ? 0 : uint64_t(s) * sampleBits(layout));
        }
    }

    void forEach(const std::function<void(const TiffChunk&)>& visit) {
        const uint32_t stepX = layout_.tiled ? shape_.width : layout_.width;
        for (uint32_t y = 0; y < layout_.height; y += std::min(shape_.rows, layout_.height - y))
            for (uint32_t x = 0; x < layout_.width; x += std::min(stepX, layout_.width - x))
                visit(read(x, y));
    }

private:
    const TiffChunk& read(uint32_t x, uint32_t y) {
        chunk_.x = x, chunk_.y = y;
        chunk_.width = std::min(shape_.width, layout_.width - x);
        chunk_.height = std::min(shape_.rows, layout_.height - y);
        // A strip at the bottom has only the picture's rows.
        const uint64_t bytes = layout_.tiled ? shape_.bytes : shape_.rowBytes * chunk_.height;
        for (std::size_t b = 0; b < buffers_.size(); ++b)
            readChunk(tif_, layout_.tiled, index(x, y, uint16_t(b)), buffers_[b].get(), bytes);
        return chunk_;
    }

    uint32_t index(uint32_t x, uint32_t y, uint16_t plane) const {
        const uint16_t p = layout_.planar ? plane : 0;
        return layout_.tiled ? TIFFComputeTile(tif_, x, y, 0, p) : TIFFComputeStrip(tif_, y, p);
    }

    TIFF* tif_;
    const TiffLayout& layout_;
    ChunkShape shape_;
    std::vector<std::unique_ptr<uint8_t[]>> buffers_;
    TiffChunk chunk_;
};

} // namespace

void forEachChunk(TIFF* tif, const TiffLayout& layout,
                  const std::function<void(const TiffChunk&)>& visit) {
    ChunkReader(tif, layout).forEach(visit);
}

} // namespace tessaly
