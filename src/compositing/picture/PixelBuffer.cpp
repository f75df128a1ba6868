#include "compositing/picture/PixelBuffer.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace tessaly {

namespace {

// Buffers from this size on come from the cache and use huge pages.
constexpr std::size_t kLargeBuffer = std::size_t(1) << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;
// By default enough for the result dropped by one run to serve the next
// run's base bitmap, and for one more picture of another size.
constexpr std::size_t kDefaultCachedBuffers = 2;

struct Cached {
    uint8_t* pixels;
    std::size_t capacity;
};

struct Cache {
    std::mutex mutex;
    std::vector<Cached> buffers; // oldest first
    std::size_t limit = kDefaultCachedBuffers;
    ~Cache() {
        for (const Cached& c : buffers)
            std::free(c.pixels);
    }
};

Cache& cache() {
    static Cache instance;
    return instance;
}

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// Capacities are whole huge pages, so a picture of the same size (or within
// the same 2 MiB) finds the buffer that its predecessor left.
uint8_t* takeCached(std::size_t capacity) {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    for (auto it = c.buffers.begin(); it != c.buffers.end(); ++it) {
        if (it->capacity == capacity) {
            uint8_t* pixels = it->pixels;
            c.buffers.erase(it);
            return pixels;
        }
    }
    return nullptr;
}

// Frees the oldest buffers beyond `limit`; the caller holds the lock.
void trimTo(Cache& c, std::size_t limit) {
    while (c.buffers.size() > limit) {
        std::free(c.buffers.front().pixels);
        c.buffers.erase(c.buffers.begin());
    }
}

uint8_t* allocateLarge(std::size_t capacity) {
    void* pixels = std::aligned_alloc(kHugePage, capacity);
    if (!pixels)
        throw std::bad_alloc();
    madvise(pixels, capacity, MADV_HUGEPAGE); // a hint; without it plain pages serve
    return static_cast<uint8_t*>(pixels);
}

} // namespace

void PixelDeleter::operator()(uint8_t* pixels) const noexcept {
    if (capacity < kLargeBuffer) {
        delete[] pixels;
        return;
    }
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    c.buffers.push_back({pixels, capacity});
    trimTo(c, c.limit);
}

PixelBuffer allocatePixels(std::size_t bytes) {
    if (bytes == 0)
        return PixelBuffer();
    if (bytes < kLargeBuffer)
        return PixelBuffer(new uint8_t[bytes], PixelDeleter{bytes});
    const std::size_t capacity = roundUp(bytes, kHugePage);
    uint8_t* pixels = takeCached(capacity);
    if (!pixels)
        pixels = allocateLarge(capacity);
    return PixelBuffer(pixels, PixelDeleter{capacity});
}

void dropPixelCache() {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    trimTo(c, 0);
}

void setPixelCacheLimit(std::size_t buffers) {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    c.limit = buffers;
    trimTo(c, buffers);
}

std::size_t cachedPixelBuffers() {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    return c.buffers.size();
}

std::size_t cachedPixelBytes() {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    std::size_t total = 0;
    for (const Cached& b : c.buffers)
        total += b.capacity;
    return total;
}

} // namespace tessaly
