#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tessaly {

// Pixel memory of the bitmaps. Every move of the track bar makes new
// picture-sized work bitmaps and drops the previous result; touching fresh
// pages of a 72 MB buffer costs far more than blending in it, so large buffers
// are backed by huge pages and a few of them are kept for the next bitmap of
// about the same size.
struct PixelDeleter {
    std::size_t capacity = 0;
    void operator()(uint8_t* pixels) const noexcept;
};
using PixelBuffer = std::unique_ptr<uint8_t[], PixelDeleter>;

// At least `bytes` bytes of uninitialised memory; empty for 0 bytes. Throws
// std::bad_alloc when the memory is not there.
PixelBuffer allocatePixels(std::size_t bytes);

// Frees the buffers kept for reuse.
void dropPixelCache();
// How many large buffers are kept for reuse at most (2 unless set): a batch
// of pictures on several threads keeps a few per thread, so that every
// picture after the first finds its memory already touched.
void setPixelCacheLimit(std::size_t buffers);
// How many buffers and bytes are kept for reuse.
std::size_t cachedPixelBuffers();
std::size_t cachedPixelBytes();

} // namespace tessaly
