#include "compositing/decoding/IcoDecoder.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibColourTable.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibPixels.h"
#include "compositing/decoding/IconDirectory.h"
#include "compositing/decoding/PngDecoder.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

#include <cstring>

namespace tessaly {

namespace {

constexpr char kInvalidIcon[] = "Icon image is not valid";
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void throwInvalidIcon() {
    throw Error(QString::fromLatin1(kInvalidIcon));
}

bool anyAlpha(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 0)
                return true;
        }
    }
    return false;
}

// The AND mask: one bit per pixel, rows bottom-up; a set bit leaves the
// pixel out.
void applyMask(QImage& image, const uint8_t* mask, std::size_t rowSize) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* bits = mask + std::size_t(image.height() - 1 - y) * rowSize;
        for (int x = 0; x < image.width(); ++x) {
            const bool excluded = (bits[x / 8] >> (7 - x % 8)) & 1;
            row[x] = excluded ? 0 : (row[x] | 0xFF000000u);
        }
    }
}

QImage decodeIconBitmap(ByteReader& reader) {
    DibInfo info = readDibHeader(reader, kDibFilePolicy);
    readDibColourTable(info, reader, kDibFilePolicy);
    // The header's height counts the colour rows and the mask rows.
    if (info.isRle() || info.topDown || info.height < 2)
        reader.fail();
    info.height /= 2;
    QImage image = RasterPicture::newTransparent(info.width, info.height);
    readDibPixels(info, reader, image, kDibFilePolicy);
    if (info.bitCount == 32 && anyAlpha(image))
        return image; // its own alpha; the mask is only for old systems
    const std::size_t maskRow = ((std::size_t(info.width) + 31) / 32) * 4;
    applyMask(image, reader.take(maskRow * std::size_t(info.height)), maskRow);
    return image;
}

} // namespace

std::unique_ptr<Picture> decodeIco(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    ByteReader file(data, std::size_t(bytes.size()), throwInvalidIcon);
    const IconEntry entry = chooseIconEntry(file);
    const uint8_t* image = data + entry.offset;
    if (entry.size >= sizeof kPngSignature &&
        std::memcmp(image, kPngSignature, sizeof kPngSignature) == 0)
        return std::make_unique<RasterPicture>(decodePngImage(image, entry.size, kInvalidIcon));
    ByteReader reader(image, entry.size, throwInvalidIcon);
    return std::make_unique<RasterPicture>(decodeIconBitmap(reader));
}

} // namespace tessaly
