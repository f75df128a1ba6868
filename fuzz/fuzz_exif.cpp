// libFuzzer entry point for the EXIF orientation reader. Inputs may be whole
// JPEG files (the corpus's): the block from the first "Exif\0\0" on is read,
// as the JPEG decoder hands its APP1 segment over; then a small picture is
// turned by the orientation found.
#include "compositing/decoding/ExifOrientation.h"
#include "compositing/picture/Orientation.h"
#include "compositing/picture/RasterPicture.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const uint8_t kHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    const uint8_t* start = std::search(data, data + size, kHeader, kHeader + 6);
    if (start == data + size)
        start = data;
    const std::size_t length = std::min<std::size_t>(std::size_t(data + size - start), 0xFFFF);
    const int orientation = tessaly::exifOrientation(start, length);
    QImage stored = tessaly::RasterPicture::newOpaque(3, 2);
    const QImage upright = tessaly::uprightImage(stored, orientation);
    if (upright.width() * upright.height() != 6)
        __builtin_trap(); // a turn never loses or gains pixels
    return 0;
}
