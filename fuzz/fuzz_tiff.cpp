// libFuzzer entry point for the tiff decoder.
#include "compositing/decoding/TiffDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeTiff, data, size);
}
