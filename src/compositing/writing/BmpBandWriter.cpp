#include "compositing/writing/BmpBandWriter.h"

#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/writing/BmpWriter.h"

namespace tessaly {

BmpBandWriter::BmpBandWriter(const QString& path, const Bitmap24& bitmap)
    : bottomRow_(bitmap.bits()), height_(bitmap.height()), rowSize_(bitmap.rowSize()),
      file_((requireDepth24(bitmap, bitmap), path), 54 + bitmap.byteSize()),
      headers_(bmpHeaders(bitmap)) {
    if (file_.writesInPlace())
        return; // everything waits for commit()
    file_.write(headers_.data(), headers_.size());
    writer_ = std::thread([this] { writeBands(); });
}

BmpBandWriter::~BmpBandWriter() {
    stop(true); // the file replacer then removes the unfinished file
}

void BmpBandWriter::write(int first, int end) {
    if (!writer_.joinable())
        return; // written in place at commit()
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
    if (!writer_.joinable()) {
        file_.write(headers_.data(), headers_.size());
        writeBand({0, height_});
    }
    stop(false);
    if (error_)
        std::rethrow_exception(error_);
    file_.commit();
}

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
        try {
            writeBand(band);
        } catch (...) {
            error_ = std::current_exception();
        }
        lock.lock();
    }
}

// The file holds the last row first: rows first to end - 1 lie in one piece,
// in memory as in the file, starting with row end - 1.
void BmpBandWriter::writeBand(Band band) {
    const std::size_t start = std::size_t(height_ - band.end) * rowSize_;
    const std::size_t bytes = std::size_t(band.end - band.first) * rowSize_;
    const auto offset = int64_t(54 + start);
    file_.writeAt(offset, bottomRow_ + start, bytes);
    file_.flushSoon(offset, bytes);
}

} // namespace tessaly
