// libFuzzer entry point for the gif decoder.
#include "compositing/decoding/GifDecoder.h"
#include "FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return tessaly::fuzz::decodeAndDraw(tessaly::decodeGif, data, size);
}
