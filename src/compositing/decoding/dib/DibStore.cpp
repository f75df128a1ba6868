#include "compositing/decoding/dib/DibStore.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

void storeDibSpan(QImage& image, int x, int y, const QRgb* colours, int count) {
    uint8_t* line = image.scanLine(y);
    if (image.format() == QImage::Format_BGR888) {
        for (uint8_t* out = line + std::size_t(x) * 3; count > 0; --count, out += 3, ++colours) {
            out[0] = uint8_t(qBlue(*colours));
            out[1] = uint8_t(qGreen(*colours));
            out[2] = uint8_t(qRed(*colours));
        }
        return;
    }
    auto* words = reinterpret_cast<QRgb*>(line) + x;
    switch (image.format()) {
    case QImage::Format_ARGB32:
        std::memcpy(words, colours, std::size_t(count) * sizeof(QRgb));
        return;
    case QImage::Format_ARGB32_Premultiplied:
        for (int i = 0; i < count; ++i) {
            const QRgb c = colours[i];
            const int a = qAlpha(c);
            words[i] =
                qRgba(std::min(qRed(c), a), std::min(qGreen(c), a), std::min(qBlue(c), a), a);
        }
        return;
    case QImage::Format_RGB32:
        for (int i = 0; i < count; ++i)
            words[i] = colours[i] | 0xFF000000u;
        return;
    default: // not one the readers make; slow but safe
        for (int i = 0; i < count; ++i)
            image.setPixel(x + i, y, colours[i]);
        return;
    }
}

} // namespace tessaly
