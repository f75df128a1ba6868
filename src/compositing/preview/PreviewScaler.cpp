#include "compositing/preview/PreviewScaler.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace tessaly {

namespace {

constexpr int kSamples = 4;

// The rows of a source: BGR triples when opaque, straight-alpha ARGB32 otherwise.
struct Rows {
    int width = 0;
    int height = 0;
    bool opaque = true;
    std::function<const uchar*(int)> row;
};

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

// The premultiplied average of the sampled pixels.
QRgb averageOf(const Rows& source, const std::vector<int>& rows, const std::vector<int>& columns) {
    uint32_t b = 0, g = 0, r = 0, a = 0;
    for (int y : rows) {
        const uchar* line = source.row(y);
        for (int x : columns) {
            if (source.opaque) {
                const uchar* p = line + std::size_t(x) * 3;
                b += p[0];
                g += p[1];
                r += p[2];
                a += 255;
            } else {
                const QRgb p = reinterpret_cast<const QRgb*>(line)[x];
                const uint32_t alpha = qAlpha(p);
                b += qBlue(p) * alpha / 255;
                g += qGreen(p) * alpha / 255;
                r += qRed(p) * alpha / 255;
                a += alpha;
            }
        }
    }
    const auto n = uint32_t(rows.size() * columns.size());
    return qRgba(int(r / n), int(g / n), int(b / n), int(a / n));
}

// Averages boxes of source pixels: size is at most the source's size.
QImage boxAverage(const Rows& source, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    const std::vector<int> columnEdges = boxEdges(source.width, size.width());
    const std::vector<int> rowEdges = boxEdges(source.height, size.height());
    std::vector<std::vector<int>> columns;
    for (std::size_t tx = 0; tx + 1 < columnEdges.size(); ++tx)
        columns.push_back(spread(columnEdges[tx], columnEdges[tx + 1]));
    for (int ty = 0; ty < size.height(); ++ty) {
        const std::vector<int> rows =
            spread(rowEdges[std::size_t(ty)], rowEdges[std::size_t(ty) + 1]);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
        for (int tx = 0; tx < size.width(); ++tx)
            out[tx] = averageOf(source, rows, columns[std::size_t(tx)]);
    }
    return image;
}

QImage scaled(const Rows& source, QSize size) {
    if (source.width <= 0 || source.height <= 0 || size.isEmpty())
        return QImage();
    const QSize reduced(std::min(size.width(), source.width),
                        std::min(size.height(), source.height));
    const QImage image = boxAverage(source, reduced);
    if (image.isNull() || reduced == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage scaledPreview(const QImage& source, QSize size) {
    const Rows rows{source.width(), source.height(), source.format() == QImage::Format_BGR888,
                    [&source](int y) { return source.constScanLine(y); }};
    return scaled(rows, size);
}

QImage scaledPreview(const Bitmap24& bitmap, QSize size) {
    const Rows rows{bitmap.width(), bitmap.height(), true,
                    [&bitmap](int y) { return bitmap.scanLine(y); }};
    return scaled(rows, size);
}

} // namespace tessaly
