// libFuzzer entry point for the png decoder.
#include "compositing/decoding/PngDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tessaly::fuzz::decodeInBands(tessaly::decodePng, data, size);
    return tessaly::fuzz::decodeAndDraw(tessaly::decodePng, data, size);
}
