#include "compositing/PreviewScaler.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace tessaly {

namespace {

// Running sums of premultiplied blue, green, red and alpha per output column.
struct BlockSums {
    explicit BlockSums(int columns) : sums(std::size_t(columns) * 4, 0) {}
    std::vector<uint64_t> sums;
    void clear() { std::fill(sums.begin(), sums.end(), 0); }
};

// The rows of a source: BGR triples when opaque, straight-alpha ARGB32 otherwise.
struct Rows {
    int width = 0;
    int height = 0;
    bool opaque = true;
    std::function<const uchar*(int)> row;
};

void addRow(const Rows& source, int y, int factorX, BlockSums& block) {
    const uchar* row = source.row(y);
    const bool opaque = source.opaque;
    uint64_t* out = block.sums.data();
    for (int x = 0, sub = 0; x < source.width; ++x) {
        if (opaque) {
            const uchar* p = row + std::size_t(x) * 3;
            out[0] += p[0];
            out[1] += p[1];
            out[2] += p[2];
            out[3] += 255;
        } else {
            const QRgb p = reinterpret_cast<const QRgb*>(row)[x];
            const unsigned a = qAlpha(p);
            out[0] += qBlue(p) * a / 255;
            out[1] += qGreen(p) * a / 255;
            out[2] += qRed(p) * a / 255;
            out[3] += a;
        }
        if (++sub == factorX) {
            sub = 0;
            out += 4;
        }
    }
}

void storeRow(const BlockSums& block, int sourceWidth, int factorX, int rows, QRgb* out,
              int columns) {
    for (int ox = 0; ox < columns; ++ox) {
        const int cols = std::min(factorX, sourceWidth - ox * factorX);
        const uint64_t n = uint64_t(cols) * uint64_t(rows);
        const uint64_t* s = &block.sums[std::size_t(ox) * 4];
        out[ox] = qRgba(int(s[2] / n), int(s[1] / n), int(s[0] / n), int(s[3] / n));
    }
}

QImage boxReduce(const Rows& source, int factorX, int factorY) {
    const int columns = (source.width + factorX - 1) / factorX;
    const int rows = (source.height + factorY - 1) / factorY;
    QImage reduced(columns, rows, QImage::Format_ARGB32_Premultiplied);
    if (reduced.isNull())
        return reduced;
    BlockSums block(columns);
    for (int oy = 0; oy < rows; ++oy) {
        block.clear();
        const int first = oy * factorY;
        const int last = std::min(source.height, first + factorY);
        for (int y = first; y < last; ++y)
            addRow(source, y, factorX, block);
        storeRow(block, source.width, factorX, last - first,
                 reinterpret_cast<QRgb*>(reduced.scanLine(oy)), columns);
    }
    return reduced;
}

QImage scaled(const Rows& source, QSize size) {
    if (source.width <= 0 || source.height <= 0 || size.isEmpty())
        return QImage();
    const int factorX = std::max(1, source.width / (2 * size.width()));
    const int factorY = std::max(1, source.height / (2 * size.height()));
    const QImage reduced = boxReduce(source, factorX, factorY);
    if (reduced.isNull() || reduced.size() == size)
        return reduced;
    return reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage scaledPreview(const QImage& source, QSize size) {
    Rows rows{source.width(), source.height(), source.format() == QImage::Format_BGR888,
              [&source](int y) { return source.constScanLine(y); }};
    return scaled(rows, size);
}

QImage scaledPreview(const Bitmap24& bitmap, QSize size) {
    Rows rows{bitmap.width(), bitmap.height(), true,
              [&bitmap](int y) { return bitmap.scanLine(y); }};
    return scaled(rows, size);
}

} // namespace tessaly
