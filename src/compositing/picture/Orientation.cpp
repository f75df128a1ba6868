#include "compositing/picture/Orientation.h"

#include "compositing/picture/RasterPicture.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

namespace {

// Where stored pixel (x, y) lands: upright x = xx*x + xy*y + x0, and so on.
struct Placement {
    int xx, xy, x0;
    int yx, yy, y0;
};

Placement placement(int orientation, int w, int h) {
    switch (orientation) {
    case 2: return {-1, 0, w - 1, 0, 1, 0};
    case 3: return {-1, 0, w - 1, 0, -1, h - 1};
    case 4: return {1, 0, 0, 0, -1, h - 1};
    case 5: return {0, 1, 0, 1, 0, 0};
    case 6: return {0, -1, h - 1, 1, 0, 0};
    case 7: return {0, -1, h - 1, -1, 0, w - 1};
    default: return {0, 1, 0, -1, 0, w - 1}; // 8
    }
}

// Copies in square tiles so that the scattered side of a quarter turn stays
// within a few cache lines.
template <int Bytes>
void place(const QImage& from, QImage& to, const Placement& p) {
    constexpr int kTile = 64;
    const int w = from.width(), h = from.height();
    for (int ty = 0; ty < h; ty += kTile) {
        for (int tx = 0; tx < w; tx += kTile) {
            for (int y = ty; y < std::min(h, ty + kTile); ++y) {
                const uint8_t* src = from.constScanLine(y);
                for (int x = tx; x < std::min(w, tx + kTile); ++x) {
                    const int ux = p.xx * x + p.xy * y + p.x0;
                    const int uy = p.yx * x + p.yy * y + p.y0;
                    std::memcpy(to.scanLine(uy) + std::size_t(ux) * Bytes,
                                src + std::size_t(x) * Bytes, Bytes);
                }
            }
        }
    }
}

} // namespace

bool isOrientation(int value) {
    return value >= 1 && value <= 8;
}

QImage uprightImage(QImage stored, int orientation) {
    if (!isOrientation(orientation) || orientation == 1 || stored.isNull())
        return stored;
    const bool turned = orientation >= 5;
    const int w = turned ? stored.height() : stored.width();
    const int h = turned ? stored.width() : stored.height();
    const bool alpha = stored.format() == QImage::Format_ARGB32;
    QImage upright = alpha ? RasterPicture::newTransparent(w, h, RasterPicture::Fill::None)
                           : RasterPicture::newOpaque(w, h, RasterPicture::Fill::None);
    if (!alpha && stored.format() != QImage::Format_BGR888)
        stored = stored.convertToFormat(QImage::Format_BGR888);
    const Placement p = placement(orientation, stored.width(), stored.height());
    if (alpha)
        place<4>(stored, upright, p);
    else
        place<3>(stored, upright, p);
    return upright;
}

} // namespace tessaly
