#include "compositing/PreviewScaler.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

// A preview pixel averages up to this many rows and columns of its box:
// enough to smooth a photograph, and a 24-megapixel result costs a few
// hundred thousand reads instead of all of its pixels.
constexpr int kSamples = 4;

// Start of each of `parts` boxes over `length` source pixels, and the end.
std::vector<int> boxEdges(int length, int parts) {
    std::vector<int> edges(std::size_t(parts) + 1);
    for (int i = 0; i <= parts; ++i)
        edges[std::size_t(i)] = int(int64_t(i) * length / parts);
    return edges;
}

// Up to kSamples positions spread evenly over [start, end); all of them when
// the box is that small.
std::vector<int> spread(int start, int end) {
    const int n = std::min(kSamples, end - start);
    std::vector<int> positions(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        positions[std::size_t(k)] = start + int(int64_t(2 * k + 1) * (end - start) / (2 * n));
    return positions;
}

QRgb averageOf(const Bitmap24& bitmap, const std::vector<int>& rows,
               const std::vector<int>& columns) {
    uint32_t sum[3] = {0, 0, 0};
    for (int y : rows) {
        const uint8_t* line = bitmap.scanLine(y);
        for (int x : columns)
            for (int c = 0; c < 3; ++c)
                sum[c] += line[x * 3 + c];
    }
    const auto n = uint32_t(rows.size() * columns.size());
    return qRgb(int(sum[2] / n), int(sum[1] / n), int(sum[0] / n));
}

// Averages boxes of source pixels: size is at most the bitmap's size.
QImage boxAverage(const Bitmap24& bitmap, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const std::vector<int> columnEdges = boxEdges(bitmap.width(), size.width());
    const std::vector<int> rowEdges = boxEdges(bitmap.height(), size.height());
    std::vector<std::vector<int>> columns;
    for (std::size_t tx = 0; tx + 1 < columnEdges.size(); ++tx)
        columns.push_back(spread(columnEdges[tx], columnEdges[tx + 1]));
    for (int ty = 0; ty < size.height(); ++ty) {
        const std::vector<int> rows =
            spread(rowEdges[std::size_t(ty)], rowEdges[std::size_t(ty) + 1]);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
        for (int tx = 0; tx < size.width(); ++tx)
            out[tx] = averageOf(bitmap, rows, columns[std::size_t(tx)]);
    }
    return image;
}

} // namespace

QImage scaledPreview(const Bitmap24& bitmap, QSize size) {
    if (bitmap.width() == 0 || bitmap.height() == 0 || size.isEmpty())
        return QImage();
    const QSize reduced(std::min(size.width(), bitmap.width()),
                        std::min(size.height(), bitmap.height()));
    const QImage image = boxAverage(bitmap, reduced);
    if (reduced == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace tessaly
