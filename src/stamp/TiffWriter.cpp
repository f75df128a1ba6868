#include "stamp/TiffWriter.h"

#include "platform/Error.h"
#include "stamp/TiffExifDirectories.h"

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

// The EXIF block's tags of the first directory that describe the picture
// rather than its storage, all text.
constexpr uint16_t kDescriptiveTags[] = {
    TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE,   TIFFTAG_MODEL,        TIFFTAG_SOFTWARE,
    TIFFTAG_DATETIME,         TIFFTAG_ARTIST, TIFFTAG_HOSTCOMPUTER, TIFFTAG_COPYRIGHT,
};
constexpr uint16_t kTypeAscii = 2;

void setDescriptiveTags(TIFF* tif, const std::vector<ExifField>& picture) {
    for (const ExifField& f : picture) {
        const bool wanted = std::find(std::begin(kDescriptiveTags), std::end(kDescriptiveTags),
                                      f.tag) != std::end(kDescriptiveTags);
        if (wanted && f.type == kTypeAscii)
            TIFFSetField(tif, f.tag,
                         QByteArray(f.data.constData()).constData()); // to its first zero
    }
}

void setResolution(TIFF* tif, const Resolution& r) {
    using Unit = Resolution::Unit;
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(r.x));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(r.y));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT,
                 r.unit == Unit::Inch         ? RESUNIT_INCH
                 : r.unit == Unit::Centimetre ? RESUNIT_CENTIMETER
                                              : RESUNIT_NONE);
}

void setBytes(TIFF* tif, uint32_t tag, const QByteArray& bytes) {
    if (!bytes.isEmpty())
        TIFFSetField(tif, tag, uint32_t(bytes.size()), bytes.constData());
}

void setMetadata(TIFF* tif, const PhotoMetadata& m, const TiffExifDirectories& directories) {
    setBytes(tif, TIFFTAG_ICCPROFILE, m.icc);
    setBytes(tif, TIFFTAG_XMLPACKET, m.xmp);
    // Readers take the IPTC tag for 32-bit values: whole ones, zero-padded.
    setBytes(tif, TIFFTAG_RICHTIFFIPTC,
             m.iptc.isEmpty() ? m.iptc : m.iptc + QByteArray(-m.iptc.size() & 3, '\0'));
    if (m.resolution)
        setResolution(tif, *m.resolution);
    if (directories.exif)
        TIFFSetField(tif, TIFFTAG_EXIFIFD, uint64_t(directories.exif));
    if (directories.gps)
        TIFFSetField(tif, TIFFTAG_GPSIFD, uint64_t(directories.gps));
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

QByteArray encodeTiff(const Bitmap24& bitmap, const PhotoMetadata& metadata) {
    const ExifFields exif = exifFields(metadata.exif);
    TiffSink sink;
    {
        TiffHandle h;
        h.tif = TIFFClientOpenExt("result", "wl", &sink, refuseRead, writeData, seekData, closeData,
                                  dataSize, nullptr, nullptr, h.options);
        if (!h.tif)
            fail(h.message);
        // libtiff has written the 8-byte header and puts everything else at
        // the file's end: the EXIF directories go right after the header.
        const TiffExifDirectories directories =
            layOutExifDirectories(exif, uint32_t(sink.bytes.size()));
        sink.bytes.insert(sink.bytes.end(), directories.bytes.begin(), directories.bytes.end());
        setFields(h.tif, bitmap);
        setDescriptiveTags(h.tif, exif.picture);
        setMetadata(h.tif, metadata, directories);
        writeRows(h.tif, bitmap, h.message);
        if (!TIFFWriteDirectory(h.tif))
            fail(h.message);
    }
    return QByteArray(reinterpret_cast<const char*>(sink.bytes.data()),
                      qsizetype(sink.bytes.size()));
}

} // namespace tessaly
