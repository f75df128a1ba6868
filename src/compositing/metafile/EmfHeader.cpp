#include "compositing/metafile/EmfHeader.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/metafile/RecordReader.h"

#include <cmath>

namespace tessaly::metafile {

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::size_t kHeaderMinimum = 88;

} // namespace

EmfHeader readEmfHeader(const QByteArray& bytes) {
    RecordReader in(bytes.constData(), std::size_t(bytes.size()));
    const uint32_t type = in.u32();
    const uint32_t size = in.u32();
    if (type != kEmrHeader || size < kHeaderMinimum || size > in.size() || size % 4)
        throwInvalid();
    in.rectL();                      // bounds
    const QRectF frame = in.rectL(); // 0.01 mm
    if (in.u32() != kSignature)
        throwInvalid();
    in.u32(); // version
    if (in.u32() > in.size())
        throwInvalid(); // the file is shorter than its header says: cut short
    in.u32();           // records
    EmfHeader header;
    header.handles = in.u16();
    in.skip(2 + 12); // reserved, description, palette entries
    const double deviceX = in.i32(), deviceY = in.i32();
    const double mmX = in.i32(), mmY = in.i32();
    if (deviceX <= 0 || deviceY <= 0 || mmX <= 0 || mmY <= 0)
        throwInvalid();
    header.pixelsPerMm = QSizeF(deviceX / mmX, deviceY / mmY);
    const double sx = header.pixelsPerMm.width() / 100, sy = header.pixelsPerMm.height() / 100;
    header.frame = QRectF(QPointF(frame.left() * sx, frame.top() * sy),
                          QPointF(frame.right() * sx, frame.bottom() * sy));
    const int64_t width = std::llround(header.frame.width());
    const int64_t height = std::llround(header.frame.height());
    if (width <= 0 || height <= 0)
        throwInvalid();
    checkPictureSize(width, height);
    header.naturalSize = QSize(int(width), int(height));
    return header;
}

} // namespace tessaly::metafile
