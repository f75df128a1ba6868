#include "compositing/decoding/BmpDecoder.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibColourTable.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibPixels.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

namespace tessaly {

namespace {

constexpr std::size_t kFileHeader = 14;

[[noreturn]] void throwInvalidBitmap() {
    throw Error(QStringLiteral("Bitmap image is not valid"));
}

} // namespace

std::unique_ptr<Picture> decodeBmp(const QByteArray& bytes) {
    ByteReader reader(reinterpret_cast<const uint8_t*>(bytes.constData()),
                      std::size_t(bytes.size()), throwInvalidBitmap);
    if (reader.u8() != 'B' || reader.u8() != 'M')
        reader.fail();
    // The file size field has no bearing on the pixels: a file that claims
    // more is read as long as its pixel data are all there.
    reader.skip(8);
    const uint32_t pixelOffset = reader.u32();
    DibInfo info = readDibHeader(reader, kDibFilePolicy);
    readDibColourTable(info, reader, kDibFilePolicy);
    if (pixelOffset != 0) {
        if (pixelOffset < kFileHeader)
            reader.fail();
        reader.seek(pixelOffset);
    }
    if (info.sizeImage > reader.remaining())
        reader.fail();
    // Every pixel of an uncompressed bitmap is written; runs may skip some,
    // which stay white.
    QImage image = RasterPicture::newOpaque(info.width, info.height,
                                            info.isRle() ? RasterPicture::Fill::Clear
                                                         : RasterPicture::Fill::None);
    readDibPixels(info, reader, image, kDibFilePolicy);
    return std::make_unique<RasterPicture>(std::move(image));
}

} // namespace tessaly
