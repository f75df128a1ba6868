// libFuzzer entry point for the tiff decoder: both readers (libtiff's RGBA
// conversion and our own reader of strips and tiles), orientation included.
#include "compositing/decoding/tiff/TiffFile.h"
#include "compositing/decoding/tiff/TiffLayout.h"
#include "compositing/decoding/TiffDecoder.h"
#include "FuzzDecode.h"

namespace {

// A picture of many megapixels takes seconds under the sanitizers and
// starves the search; the size limits have tests of their own.
bool tooLargeToFuzz(const uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const tessaly::TiffFile file(bytes);
        const tessaly::TiffLayout layout = tessaly::readLayout(file.tiff());
        return uint64_t(layout.width) * layout.height > (uint64_t(1) << 20);
    } catch (const tessaly::Error&) {
        return false; // the decoder refuses it as quickly
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (tooLargeToFuzz(data, size))
        return 0;
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeTiff, data, size);
}
