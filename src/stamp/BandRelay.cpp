#include "stamp/BandRelay.h"

#include <algorithm>

namespace tessaly {

namespace {

// About this many bytes a band: small enough for the processor's cache to
// hold the few bands in flight between the two threads, large enough that
// each hand-over is rare.
constexpr std::size_t kBandBytes = std::size_t(512) << 10;

int rowsPerBand(int width) {
    return int(std::max<std::size_t>(1, kBandBytes / Bitmap24::rowSizeFor(width)));
}

} // namespace

BandRelay::BandRelay(int width, int height, Work work)
    : width_(width), height_(height), bandRows_(rowsPerBand(width)), work_(std::move(work)) {
    for (int i = kBands - 1; i >= 0; --i)
        free_.push_back(i);
    thread_ = std::thread([this] { run(); });
}

BandRelay::~BandRelay() {
    stop(true);
}

Bitmap24& BandRelay::take(int firstRow) {
    int slot;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !free_.empty() || error_; });
        if (error_)
            raise();
        slot = free_.back();
        free_.pop_back();
    }
    Slot& s = slots_[std::size_t(slot)];
    const int rows = std::clamp(height_ - firstRow, 1, bandRows_);
    if (s.band.width() != width_ || s.band.height() != rows)
        s.band.resizeForOverwrite(width_, rows);
    s.firstRow = firstRow;
    taken_ = slot;
    return s.band;
}

void BandRelay::pass() {
    {
        std::lock_guard lock(mutex_);
        full_.push_back(taken_);
    }
    taken_ = -1;
    changed_.notify_all();
}

void BandRelay::finish() {
    stop(false);
    std::lock_guard lock(mutex_);
    if (error_)
        raise();
}

void BandRelay::raise() {
    std::rethrow_exception(error_);
}

void BandRelay::stop(bool abandon) {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (abandon)
            full_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void BandRelay::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !full_.empty(); });
        if (full_.empty())
            return; // stopping, and every band is worked on
        const int slot = full_.front();
        full_.pop_front();
        if (!error_) {
            lock.unlock();
            std::exception_ptr failed;
            try {
                Slot& s = slots_[std::size_t(slot)];
                work_(s.band, s.firstRow);
            } catch (...) {
                failed = std::current_exception();
            }
            lock.lock();
            error_ = failed;
        }
        free_.push_back(slot);
        changed_.notify_all();
    }
}

} // namespace tessaly
