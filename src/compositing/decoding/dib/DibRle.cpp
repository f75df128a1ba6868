#include "compositing/decoding/dib/DibRle.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibColourTable.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibStore.h"

#include <algorithm>

namespace tessaly {

namespace {

enum Escape : uint8_t { EndOfLine = 0, EndOfBitmap = 1, Delta = 2 };

// Where the runs paint: rows counted from the bottom of the bitmap.
class RleCanvas {
public:
    RleCanvas(const DibInfo& info, ByteReader& reader, QImage& image, const DibPolicy& policy)
        : info_(info), reader_(reader), image_(image), policy_(policy) {}

    bool lenient() const { return policy_.drawDamaged; }
    bool done() const { return row_ >= info_.height; }

    // Paints count pixels whose palette indices index(i) gives, as far as
    // the row reaches.
    template <typename Index> void run(int count, Index index) {
        if (done()) {
            if (!lenient())
                reader_.fail();
            return;
        }
        const int shown = std::min(count, info_.width - x_);
        for (int i = 0; i < shown; ++i)
            colours_[i] = dibPaletteColour(info_, index(i), reader_, policy_);
        storeDibSpan(image_, x_, info_.height - 1 - row_, colours_, shown);
        x_ += shown;
    }
    void endOfLine() {
        x_ = 0;
        ++row_;
    }
    void jump(int dx, int dy) {
        if (!lenient() && (dx > info_.width - x_ || dy > info_.height - row_))
            reader_.fail();
        x_ = std::min(x_ + dx, info_.width);
        row_ = std::min(row_ + dy, info_.height);
    }

private:
    const DibInfo& info_;
    ByteReader& reader_;
    QImage& image_;
    const DibPolicy& policy_;
    QRgb colours_[255];
    int x_ = 0;
    int row_ = 0;
};

// Returns false when the data end inside the run and the policy ends the
// bitmap there.
bool absoluteRun(RleCanvas& canvas, ByteReader& reader, int count, bool fourBit) {
    const std::size_t bytes = fourBit ? std::size_t(count + 1) / 2 : std::size_t(count);
    if (canvas.lenient() && reader.remaining() < bytes)
        return false;
    const uint8_t* src = reader.take(bytes);
    canvas.run(count, [&](int i) -> unsigned {
        return fourBit ? (src[i / 2] >> ((i & 1) ? 0 : 4)) & 0x0F : src[i];
    });
    if ((bytes & 1) && (!canvas.lenient() || reader.remaining() > 0))
        reader.skip(1); // runs are padded to 16 bits
    return true;
}

} // namespace

void readDibRle(const DibInfo& info, ByteReader& reader, QImage& image, const DibPolicy& policy) {
    const bool fourBit = info.compression == kDibRle4;
    RleCanvas canvas(info, reader, image, policy);
    for (;;) {
        if (canvas.lenient() && (canvas.done() || reader.remaining() < 2))
            return;
        const uint8_t count = reader.u8();
        const uint8_t value = reader.u8();
        if (count > 0) {
            canvas.run(count, [&](int i) -> unsigned {
                return fourBit ? ((i & 1) ? value & 0x0F : value >> 4) : value;
            });
        } else if (value == EndOfLine) {
            canvas.endOfLine();
        } else if (value == EndOfBitmap) {
            return;
        } else if (value == Delta) {
            if (canvas.lenient() && reader.remaining() < 2)
                return;
            const int dx = reader.u8();
            canvas.jump(dx, reader.u8());
        } else if (!absoluteRun(canvas, reader, value, fourBit)) {
            return;
        }
    }
}

} // namespace tessaly
