// libFuzzer entry point for the emf decoder.
#include "compositing/decoding/MetafileDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeEmf, data, size);
}
