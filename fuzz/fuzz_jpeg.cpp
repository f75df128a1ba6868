// libFuzzer entry point for the jpeg decoder.
#include "compositing/decoding/JpegDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tessaly::fuzz::decodeInBands(tessaly::decodeJpeg, data, size);
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeJpeg, data, size);
}
