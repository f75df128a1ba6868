// The emf bitmap records.
#include "compositing/metafile/EmfObjects.h"
#include "compositing/metafile/EmfPlayback.h"
#include "compositing/metafile/EmfRecords.h"

namespace tessaly::metafile {

namespace {

constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr int kAcSrcAlpha = 1;

QRectF readRectXYWH(RecordReader& in) {
    const double x = in.i32(), y = in.i32(), w = in.i32();
    return QRectF(x, y, w, in.i32());
}

// The source part of an EMR_BITBLT-like record after its destination and
// raster operation: position, transform, background, then the bitmap.
struct Source {
    QPointF at;
    uint32_t usage = 0;
    uint32_t offInfo = 0, infoSize = 0, offBits = 0, bitsSize = 0;
};

Source readSource(RecordReader& in) {
    Source s;
    s.at = in.pointL();
    in.skip(24 + 4); // transform, background colour
    s.usage = in.u32();
    s.offInfo = in.u32();
    s.infoSize = in.u32();
    s.offBits = in.u32();
    s.bitsSize = in.u32();
    return s;
}

} // namespace

bool EmfPlayback::bitmaps(uint32_t type, RecordReader& in) {
    switch (type) {
    case EmrBitBlt:
    case EmrStretchBlt:
        bitBlt(in, type == EmrStretchBlt);
        return true;
    case EmrStretchDiBits:
        stretchDiBits(in);
        return true;
    case EmrSetDiBitsToDevice:
        setDiBitsToDevice(in);
        return true;
    case EmrAlphaBlend:
        alphaBlend(in);
        return true;
    case EmrGradientFill:
        gradientFill(in);
        return true;
    default:
        return false;
    }
}

void EmfPlayback::bitBlt(RecordReader& in, bool stretch) {
    in.rectL();
    const QRectF dest = readRectXYWH(in);
    const uint32_t rop = in.u32();
    const Source s = readSource(in);
    QSizeF srcSize = dest.size();
    if (stretch) {
        const double cx = in.i32();
        srcSize = QSizeF(cx, in.i32());
    }
    const QImage image = recordDib(in, s.offInfo, s.infoSize, s.offBits, s.bitsSize, s.usage);
    if (s.infoSize == 0)
        return canvas_.patBlt(dest, rop);
    canvas_.blit(dest, image, QRectF(s.at, srcSize), rop);
}

void EmfPlayback::stretchDiBits(RecordReader& in) {
    in.rectL();
    const QPointF destAt = in.pointL();
    const QRectF src = readRectXYWH(in);
    const uint32_t offInfo = in.u32(), infoSize = in.u32(), offBits = in.u32(), bitsSize = in.u32();
    const uint32_t usage = in.u32();
    const uint32_t rop = in.u32();
    const double cx = in.i32();
    const QRectF dest(destAt, QSizeF(cx, in.i32()));
    const QImage image = recordDib(in, offInfo, infoSize, offBits, bitsSize, usage);
    // A DIB's source rectangle counts rows from the bottom.
    const QRectF flipped(src.x(), image.height() - src.y() - src.height(), src.width(),
                         src.height());
    canvas_.blit(dest, image, flipped, rop);
}

void EmfPlayback::setDiBitsToDevice(RecordReader& in) {
    in.rectL();
    const QPointF destAt = in.pointL();
    const QRectF src = readRectXYWH(in);
    const uint32_t offInfo = in.u32(), infoSize = in.u32(), offBits = in.u32(), bitsSize = in.u32();
    const uint32_t usage = in.u32();
    const QImage image = recordDib(in, offInfo, infoSize, offBits, bitsSize, usage);
    const QRectF flipped(src.x(), image.height() - src.y() - src.height(), src.width(),
                         src.height());
    canvas_.blit(QRectF(destAt, src.size()), image, flipped, kSrcCopy);
}

void EmfPlayback::alphaBlend(RecordReader& in) {
    in.rectL();
    const QRectF dest = readRectXYWH(in);
    const uint32_t blend = in.u32();
    const Source s = readSource(in);
    const double cx = in.i32();
    const QSizeF srcSize(cx, in.i32());
    const bool perPixel = ((blend >> 24) & 0xFF) & kAcSrcAlpha;
    const QImage image =
        recordDib(in, s.offInfo, s.infoSize, s.offBits, s.bitsSize, s.usage, perPixel);
    canvas_.alphaBlit(dest, image, QRectF(s.at, srcSize), int((blend >> 16) & 0xFF));
}

} // namespace tessaly::metafile
