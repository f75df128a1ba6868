// libFuzzer entry point for the ico decoder.
#include "compositing/decoding/IcoDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeIco, data, size);
}
