#include "compositing/metafile/WmfHeader.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/metafile/RecordReader.h"
#include "compositing/metafile/WmfRecords.h"

#include <cmath>
#include <optional>

namespace tessaly::metafile {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr double kScreenDpi = 96;

struct Window {
    std::optional<QPointF> origin;
    std::optional<QSizeF> extent;
};

// The first window origin and extent that the records set.
Window scanWindow(const RecordReader& file, std::size_t offset) {
    Window window;
    forEachWmfRecord(file, offset, [&](uint16_t function, RecordReader& rec) {
        if (function == WmfSetWindowOrg && !window.origin) {
            const double y = rec.i16();
            window.origin = QPointF(rec.i16(), y);
        } else if (function == WmfSetWindowExt && !window.extent) {
            const double y = rec.i16();
            window.extent = QSizeF(rec.i16(), y);
        }
        return !window.extent;
    });
    return window;
}

void readMetaHeader(RecordReader& in, WmfHeader& header) {
    const std::size_t start = in.position();
    const uint16_t type = in.u16();
    const uint16_t headerWords = in.u16();
    const uint16_t version = in.u16();
    in.u32(); // size in words: often wrong in real files, the records decide
    header.objectCount = in.u16();
    if ((type != 1 && type != 2) || headerWords < 9 || (version != 0x0100 && version != 0x0300))
        throwInvalid();
    header.firstRecord = start + std::size_t(headerWords) * 2;
    in.seek(header.firstRecord);
}

QSize checkedSize(double width, double height) {
    const int64_t w = std::llround(std::abs(width)), h = std::llround(std::abs(height));
    if (w <= 0 || h <= 0)
        throwInvalid();
    checkPictureSize(w, h);
    return QSize(int(w), int(h));
}

} // namespace

WmfHeader readWmfHeader(const QByteArray& bytes) {
    RecordReader in(bytes.constData(), std::size_t(bytes.size()));
    WmfHeader header;
    if (in.has(4) && in.u32() == kPlaceableKey) {
        in.u16();
        const double left = in.i16(), top = in.i16(), right = in.i16(), bottom = in.i16();
        const double unitsPerInch = in.u16();
        in.skip(6);
        if (unitsPerInch == 0)
            throwInvalid();
        header.window = edgesRect(left, top, right, bottom);
        readMetaHeader(in, header);
        header.naturalSize = checkedSize(header.window.width() * kScreenDpi / unitsPerInch,
                                         header.window.height() * kScreenDpi / unitsPerInch);
        return header;
    }
    in.seek(0);
    readMetaHeader(in, header);
    const Window window = scanWindow(in, header.firstRecord);
    if (!window.extent)
        throwInvalid();
    header.window = QRectF(window.origin.value_or(QPointF()), *window.extent);
    header.naturalSize = checkedSize(window.extent->width(), window.extent->height());
    return header;
}

} // namespace tessaly::metafile
