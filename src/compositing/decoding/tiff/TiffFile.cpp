#include "compositing/decoding/tiff/TiffFile.h"

#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace tessaly {

namespace {

using Source = TiffFile::Source;

Source* memory(thandle_t handle) {
    return static_cast<Source*>(handle);
}

tmsize_t readData(thandle_t handle, void* out, tmsize_t count) {
    Source* src = memory(handle);
    if (count <= 0 || src->pos >= src->size)
        return 0;
    const toff_t n = std::min<toff_t>(toff_t(count), src->size - src->pos);
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
    return tmsize_t(n);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekData(thandle_t handle, toff_t offset, int whence) {
    Source* src = memory(handle);
    const toff_t base = whence == SEEK_CUR ? src->pos : whence == SEEK_END ? src->size : 0;
    if (offset > ~toff_t(0) - base)
        return toff_t(-1);
    src->pos = base + offset; // reads past the end simply return nothing
    return src->pos;
}

int closeData(thandle_t) {
    return 0;
}

toff_t dataSize(thandle_t handle) {
    return memory(handle)->size;
}

// libtiff reads strips and tiles straight from the bytes of a mapped file;
// read through readData instead, it rounds its buffer up to whole KiB, and
// its check of an uncompressed tile's size against that buffer then refuses
// every tile whose size is not a multiple of 1024 bytes.
int mapData(thandle_t handle, void** base, toff_t* size) {
    Source* src = memory(handle);
    *base = const_cast<uint8_t*>(src->data); // libtiff only reads a file it opened with "r"
    *size = src->size;
    return 1;
}

void unmapData(thandle_t, void*, toff_t) {}

// libtiff reports to stderr by default; the loader's own error is enough.
void silenceLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

} // namespace

void failTiff() {
    throw Error(QStringLiteral("Invalid image"));
}

TiffFile::TiffFile(const QByteArray& bytes)
    : source_{reinterpret_cast<const uint8_t*>(bytes.constData()), toff_t(bytes.size())} {
    silenceLibtiff();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        throw Error(QStringLiteral("Not enough memory to read a TIFF image"));
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
    tif_ = TIFFClientOpenExt("picture", "r", &source_, readData, refuseWrite, seekData, closeData,
                             dataSize, mapData, unmapData, options);
    TIFFOpenOptionsFree(options);
    if (!tif_)
        failTiff();
}

TiffFile::~TiffFile() {
    if (tif_)
        TIFFClose(tif_);
}

} // namespace tessaly
