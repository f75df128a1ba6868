#include "stamp/TiffWriter.h"

#include "platform/Error.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <tiffio.h>
#include <vector>

namespace tessaly {

namespace {

// libtiff writes through these into memory, seeking back to patch offsets.
constexpr std::size_t kMessageBytes = 256;

struct TiffSink {
    std::vector<uint8_t> bytes;
    toff_t pos = 0;
};

tmsize_t refuseRead(thandle_t, void*, tmsize_t) {
    return 0;
}

tmsize_t writeData(thandle_t handle, void* data, tmsize_t count) {
    auto* sink = static_cast<TiffSink*>(handle);
    if (count < 0)
        return -1;
    try {
        const toff_t end = sink->pos + toff_t(count);
        if (end > sink->bytes.size())
            sink->bytes.resize(end);
    } catch (const std::exception&) {
        return -1;
    }
    std::memcpy(sink->bytes.data() + sink->pos, data, std::size_t(count));
    sink->pos += toff_t(count);
    return count;
}

toff_t seekData(thandle_t handle, toff_t offset, int whence) {
    auto* sink = static_cast<TiffSink*>(handle);
    const toff_t base = whence == SEEK_CUR   ? sink->pos
                        : whence == SEEK_END ? sink->bytes.size()
                                             : 0;
    sink->pos = base + offset;
    return sink->pos;
}

int closeData(thandle_t) {
    return 0;
}

toff_t dataSize(thandle_t handle) {
    return static_cast<TiffSink*>(handle)->bytes.size();
}

// Errors are kept per file rather than printed by libtiff's global handler;
// the message becomes the raised error's.
int keepError(TIFF*, void* message, const char*, const char* fmt, va_list args) {
    std::vsnprintf(static_cast<char*>(message), kMessageBytes, fmt, args);
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

[[noreturn]] void fail(const char* message) {
    throw Error(format("TIFF error: %s", {QString::fromLocal8Bit(message)}));
}

void setFields(TIFF* tif, const Bitmap24& bitmap) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(bitmap.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(bitmap.height()));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
}

void writeRows(TIFF* tif, const Bitmap24& bitmap, const char* message) {
    std::vector<uint8_t> rgb(std::size_t(bitmap.width()) * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint8_t* bgr = bitmap.scanLine(y);
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = bgr[i + 2];
            rgb[i + 1] = bgr[i + 1];
            rgb[i + 2] = bgr[i];
        }
        if (TIFFWriteScanline(tif, rgb.data(), uint32_t(y), 0) < 0)
            fail(message);
    }
}

struct TiffHandle {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFF* tif = nullptr;
    char message[kMessageBytes] = {};
    TiffHandle() {
        TIFFOpenOptionsSetErrorHandlerExtR(options, keepError, message);
        TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreWarning, nullptr);
    }
    ~TiffHandle() {
        if (tif)
            TIFFClose(tif);
        TIFFOpenOptionsFree(options);
    }
};

} // namespace

QByteArray encodeTiff(const Bitmap24& bitmap) {
    TiffSink sink;
    {
        TiffHandle h;
        h.tif = TIFFClientOpenExt("result", "w", &sink, refuseRead, writeData, seekData, closeData,
                                  dataSize, nullptr, nullptr, h.options);
        if (!h.tif)
            fail(h.message);
        setFields(h.tif, bitmap);
        writeRows(h.tif, bitmap, h.message);
        if (!TIFFWriteDirectory(h.tif))
            fail(h.message);
    }
    return QByteArray(reinterpret_cast<const char*>(sink.bytes.data()),
                      qsizetype(sink.bytes.size()));
}

} // namespace tessaly
