#include "compositing/decoding/BmpDecoder.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibPixels.h"
#include "compositing/picture/RasterPicture.h"

namespace tessaly {

namespace {
constexpr char kInvalidBitmap[] = "Bitmap image is not valid";
constexpr std::size_t kFileHeader = 14;
} // namespace

std::unique_ptr<Picture> decodeBmp(const QByteArray& bytes) {
    ByteReader reader(reinterpret_cast<const uint8_t*>(bytes.constData()),
                      std::size_t(bytes.size()), kInvalidBitmap);
    if (reader.u8() != 'B' || reader.u8() != 'M')
        reader.fail();
    const uint32_t fileSize = reader.u32();
    reader.skip(4);
    const uint32_t pixelOffset = reader.u32();
    // A file that claims to be longer than it is has lost its end.
    if (fileSize > reader.size())
        reader.fail();
    const DibInfo info = readDibInfo(reader);
    if (pixelOffset != 0) {
        if (pixelOffset < kFileHeader)
            reader.fail();
        reader.seek(pixelOffset);
    }
    if (info.sizeImage > reader.remaining())
        reader.fail();
    return std::make_unique<RasterPicture>(readDibPixels(info, reader, false));
}

} // namespace tessaly
