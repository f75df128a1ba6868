#include "compositing/metafile/DibRle.h"

#include <algorithm>

namespace tessaly::metafile {

namespace {

enum Escape : uint8_t { EndOfLine = 0, EndOfBitmap = 1, Delta = 2 };

// Writes pixels left to right along rows counted from the bottom; pixels
// past the right edge or the top are dropped.
class RleCanvas {
public:
    RleCanvas(QImage& image, const std::vector<QRgb>& table) : image_(image), table_(table) {}

    void put(uint32_t index) {
        if (x_ < image_.width() && y_ < image_.height())
            reinterpret_cast<QRgb*>(image_.scanLine(image_.height() - 1 - y_))[x_] =
                index < table_.size() ? table_[index] : qRgb(0, 0, 0);
        x_ = std::min(x_ + 1, image_.width());
    }
    void nextLine() {
        x_ = 0;
        ++y_;
    }
    void move(int dx, int dy) {
        x_ = std::min(x_ + dx, image_.width());
        y_ = std::min(y_ + dy, image_.height());
    }
    bool done() const { return y_ >= image_.height(); }

private:
    QImage& image_;
    const std::vector<QRgb>& table_;
    int x_ = 0, y_ = 0;
};

void absoluteRun(RecordReader& bits, RleCanvas& canvas, int count, bool fourBits) {
    const int bytes = fourBits ? (count + 1) / 2 : count;
    if (!bits.has(std::size_t(bytes))) {
        bits.skip(bits.remaining()); // a run cut short ends the bitmap
        return;
    }
    for (int i = 0; i < bytes; ++i) {
        const uint8_t b = bits.u8();
        if (!fourBits) {
            canvas.put(b);
            continue;
        }
        canvas.put(b >> 4);
        if (2 * i + 1 < count)
            canvas.put(b & 0x0F);
    }
    if (bytes % 2 && bits.has(1))
        bits.u8(); // runs are padded to 16 bits
}

} // namespace

QImage decodeRle(RecordReader& bits, int width, int height, bool fourBits,
                 const std::vector<QRgb>& table) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(table.empty() ? qRgb(0, 0, 0) : table[0]);
    RleCanvas canvas(image, table);
    while (bits.has(2) && !canvas.done()) {
        const uint8_t count = bits.u8(), value = bits.u8();
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                canvas.put(fourBits ? (i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == EndOfLine) {
            canvas.nextLine();
        } else if (value == EndOfBitmap) {
            break;
        } else if (value == Delta) {
            if (!bits.has(2))
                break;
            const int dx = bits.u8();
            canvas.move(dx, bits.u8());
        } else {
            absoluteRun(bits, canvas, value, fourBits);
        }
    }
    return image;
}

} // namespace tessaly::metafile
