#include "compositing/writing/BmpBandWriter.h"

#include "compositing/writing/BmpWriter.h"

namespace tessaly {

namespace {

constexpr std::size_t kHeaderBytes = 54;

} // namespace

BmpBandWriter::BmpBandWriter(const QString& path, int width, int height)
    : height_((checkDecodedSize(width, height), height)), rowSize_(Bitmap24::rowSizeFor(width)),
      headers_(bmpHeaders(width, height)),
      file_(path, kHeaderBytes + rowSize_ * std::size_t(height)) {}

// The file holds the last row first: the band's rows lie in one piece, in
// memory as in the file, starting with its last row.
void BmpBandWriter::write(const Bitmap24& band, int firstRow) {
    const int below = height_ - firstRow - band.height(); // rows under the band
    const auto offset = int64_t(kHeaderBytes + std::size_t(below) * rowSize_);
    file_.writeAt(offset, band.bits(), band.byteSize());
    file_.flushSoon(offset, band.byteSize());
}

void BmpBandWriter::commit() {
    file_.writeAt(0, headers_.data(), headers_.size());
    file_.commit();
}

} // namespace tessaly
