// libFuzzer entry point for the bmp decoder.
#include "compositing/decoding/BmpDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeBmp, data, size);
}
