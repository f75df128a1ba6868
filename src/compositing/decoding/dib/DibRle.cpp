#include "compositing/decoding/dib/DibRle.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/picture/RasterPicture.h"

#include <vector>

namespace tessaly {

namespace {

constexpr int16_t kUnpainted = -1;

// The palette indices of the bitmap as the runs paint them, rows in file
// order (bottom-up).
class RleCanvas {
public:
    RleCanvas(const DibInfo& info, ByteReader& reader)
        : info_(info), reader_(reader),
          indices_(std::size_t(info.width) * std::size_t(info.height), kUnpainted) {}

    // Makes room for count pixels at the current position.
    int16_t* claim(int count) {
        if (row_ >= info_.height || count > info_.width - x_)
            reader_.fail();
        int16_t* p = &indices_[std::size_t(row_) * std::size_t(info_.width) + std::size_t(x_)];
        x_ += count;
        return p;
    }
    int16_t colour(unsigned index) const {
        if (index >= info_.palette.size())
            reader_.fail();
        return int16_t(index);
    }
    void endOfLine() {
        x_ = 0;
        ++row_;
    }
    void jump(int dx, int dy) {
        if (dx > info_.width - x_ || dy > info_.height - row_)
            reader_.fail();
        x_ += dx;
        row_ += dy;
    }
    QImage image(bool withAlpha) const;

private:
    const DibInfo& info_;
    ByteReader& reader_;
    std::vector<int16_t> indices_;
    int x_ = 0;
    int row_ = 0;
};

QImage RleCanvas::image(bool withAlpha) const {
    QImage image = withAlpha ? RasterPicture::newTransparent(info_.width, info_.height)
                             : RasterPicture::newOpaque(info_.width, info_.height);
    const int16_t* src = indices_.data();
    for (int row = 0; row < info_.height; ++row) {
        uint8_t* out = image.scanLine(info_.height - 1 - row);
        for (int x = 0; x < info_.width; ++x, ++src) {
            if (*src == kUnpainted)
                continue; // white, or transparent
            const QRgb c = info_.palette[std::size_t(*src)];
            if (withAlpha) {
                reinterpret_cast<QRgb*>(out)[x] = c;
            } else {
                out[x * 3] = uint8_t(qBlue(c));
                out[x * 3 + 1] = uint8_t(qGreen(c));
                out[x * 3 + 2] = uint8_t(qRed(c));
            }
        }
    }
    return image;
}

void encodedRun(RleCanvas& canvas, int count, uint8_t value, bool fourBit) {
    int16_t* p = canvas.claim(count);
    const int16_t high = canvas.colour(fourBit ? value >> 4 : value);
    const int16_t low = fourBit ? canvas.colour(value & 0x0F) : high;
    for (int i = 0; i < count; ++i)
        p[i] = (i & 1) ? low : high;
}

void absoluteRun(RleCanvas& canvas, ByteReader& reader, int count, bool fourBit) {
    int16_t* p = canvas.claim(count);
    const std::size_t bytes = fourBit ? std::size_t(count + 1) / 2 : std::size_t(count);
    const uint8_t* src = reader.take(bytes);
    for (int i = 0; i < count; ++i) {
        const unsigned index = fourBit ? (src[i / 2] >> ((i & 1) ? 0 : 4)) & 0x0F : src[i];
        p[i] = canvas.colour(index);
    }
    if (bytes & 1)
        reader.skip(1); // runs are padded to 16 bits
}

} // namespace

QImage readDibRle(const DibInfo& info, ByteReader& reader, bool withAlpha) {
    const bool fourBit = info.compression == kDibRle4;
    RleCanvas canvas(info, reader);
    for (;;) {
        const uint8_t count = reader.u8();
        const uint8_t value = reader.u8();
        if (count > 0) {
            encodedRun(canvas, count, value, fourBit);
        } else if (value == 0) {
            canvas.endOfLine();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            const int dx = reader.u8();
            canvas.jump(dx, reader.u8());
        } else {
            absoluteRun(canvas, reader, value, fourBit);
        }
    }
    return canvas.image(withAlpha);
}

} // namespace tessaly
