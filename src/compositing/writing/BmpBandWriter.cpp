#include "compositing/writing/BmpBandWriter.h"

#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/writing/BmpWriter.h"

namespace tessaly {

BmpBandWriter::BmpBandWriter(const QString& path, const Bitmap24& bitmap)
    : bottomRow_(bitmap.bits()), height_(bitmap.height()), rowSize_(bitmap.rowSize()),
      file_((requireDepth24(bitmap, bitmap), path)) {
    const std::array<uint8_t, 54> headers = bmpHeaders(bitmap);
    file_.write(headers.data(), headers.size());
    writer_ = std::thread([this] { writeBands(); });
}

BmpBandWriter::~BmpBandWriter() {
    stop(true); // the file replacer then removes the unfinished file
}

void BmpBandWriter::write(int first, int end) {
    {
        std::lock_guard lock(mutex_);
        bands_.push_back({first, end});
    }
    wake_.notify_one();
}

void BmpBandWriter::stop(bool abandon) {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        if (abandon)
            bands_.clear();
    }
    wake_.notify_one();
    if (writer_.joinable())
        writer_.join();
}

void BmpBandWriter::commit() {
    stop(false);
    if (error_)
        std::rethrow_exception(error_);
    file_.commit();
}

// The file holds the last row first: rows first to end - 1 lie in one piece,
// in memory as in the file, starting with row end - 1.
void BmpBandWriter::writeBands() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || !bands_.empty(); });
        if (bands_.empty())
            return; // closing, and every band is written
        const Band band = bands_.front();
        bands_.pop_front();
        if (error_)
            continue;
        lock.unlock();
        const std::size_t start = std::size_t(height_ - band.end) * rowSize_;
        const std::size_t bytes = std::size_t(band.end - band.first) * rowSize_;
        const auto offset = int64_t(54 + start);
        try {
            file_.writeAt(offset, bottomRow_ + start, bytes);
            file_.flushSoon(offset, bytes);
        } catch (...) {
            error_ = std::current_exception();
        }
        lock.lock();
    }
}

} // namespace tessaly
