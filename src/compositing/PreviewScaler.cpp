#include "compositing/PreviewScaler.h"

#include <algorithm>
#include <vector>

namespace tessaly {

namespace {

// Start of each of `parts` boxes over `length` source pixels, and the end.
std::vector<int> boxEdges(int length, int parts) {
    std::vector<int> edges(std::size_t(parts) + 1);
    for (int i = 0; i <= parts; ++i)
        edges[std::size_t(i)] = int(int64_t(i) * length / parts);
    return edges;
}

// Adds one source row into the per-column sums of the boxes.
void addRow(const uint8_t* row, const std::vector<int>& columns, std::vector<uint64_t>& sums) {
    for (std::size_t box = 0; box + 1 < columns.size(); ++box) {
        uint64_t b = 0, g = 0, r = 0;
        for (int x = columns[box]; x < columns[box + 1]; ++x) {
            b += row[x * 3];
            g += row[x * 3 + 1];
            r += row[x * 3 + 2];
        }
        sums[box * 3] += b;
        sums[box * 3 + 1] += g;
        sums[box * 3 + 2] += r;
    }
}

// Averages whole boxes of source pixels: size is at most the bitmap's size.
QImage boxAverage(const Bitmap24& bitmap, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const std::vector<int> columns = boxEdges(bitmap.width(), size.width());
    const std::vector<int> rows = boxEdges(bitmap.height(), size.height());
    std::vector<uint64_t> sums(std::size_t(size.width()) * 3);
    for (int ty = 0; ty < size.height(); ++ty) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int y = rows[std::size_t(ty)]; y < rows[std::size_t(ty) + 1]; ++y)
            addRow(bitmap.scanLine(y), columns, sums);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
        const uint64_t boxHeight = uint64_t(rows[std::size_t(ty) + 1] - rows[std::size_t(ty)]);
        for (int tx = 0; tx < size.width(); ++tx) {
            const std::size_t i = std::size_t(tx);
            const uint64_t n = boxHeight * uint64_t(columns[i + 1] - columns[i]);
            out[tx] =
                qRgb(int(sums[i * 3 + 2] / n), int(sums[i * 3 + 1] / n), int(sums[i * 3] / n));
        }
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
