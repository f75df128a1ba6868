#include "compositing/decoding/TiffDecoder.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <tiffio.h>

namespace tessaly {

namespace {

struct TiffSource {
    const uint8_t* data;
    toff_t size;
    toff_t pos = 0;
};

tmsize_t readData(thandle_t handle, void* out, tmsize_t count) {
    auto* src = static_cast<TiffSource*>(handle);
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
    auto* src = static_cast<TiffSource*>(handle);
    toff_t base = whence == SEEK_CUR ? src->pos : whence == SEEK_END ? src->size : 0;
    if (offset > ~toff_t(0) - base)
        return toff_t(-1);
    src->pos = base + offset; // reads past the end simply return nothing
    return src->pos;
}

int closeData(thandle_t) {
    return 0;
}

toff_t dataSize(thandle_t handle) {
    return static_cast<TiffSource*>(handle)->size;
}

// libtiff reports to stderr by default; the loader's own error is enough.
void silenceLibtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

[[noreturn]] void fail() {
    throw Error(QStringLiteral("Invalid image"));
}

// A damaged header can make libtiff ask for any amount of memory; no single
// buffer of a picture within the program's limit needs more than this.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(1) << 31;

TIFF* openTiff(TiffSource& src) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        throw Error(QStringLiteral("Not enough memory to read a TIFF image"));
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
    TIFF* tif = TIFFClientOpenExt("picture", "rm", &src, readData, refuseWrite, seekData, closeData,
                                  dataSize, nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    return tif;
}

struct TiffHandle {
    TIFF* tif = nullptr;
    ~TiffHandle() {
        if (tif)
            TIFFClose(tif);
    }
};

// libtiff delivers red in the low byte and premultiplied colour; the picture
// keeps QRgb values with straight alpha.
void toStraightArgb(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t p = row[x];
            const unsigned a = TIFFGetA(p);
            unsigned r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p);
            if (a != 0 && a != 255) {
                r = std::min(255u, (r * 255 + a / 2) / a);
                g = std::min(255u, (g * 255 + a / 2) / a);
                b = std::min(255u, (b * 255 + a / 2) / a);
            }
            row[x] = qRgba(int(r), int(g), int(b), int(a));
        }
    }
}

} // namespace

std::unique_ptr<Picture> decodeTiff(const QByteArray& bytes) {
    silenceLibtiff();
    TiffSource src{reinterpret_cast<const uint8_t*>(bytes.constData()), toff_t(bytes.size())};
    TiffHandle h;
    h.tif = openTiff(src);
    if (!h.tif)
        fail();
    uint32_t width = 0, height = 0;
    if (!TIFFGetField(h.tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(h.tif, TIFFTAG_IMAGELENGTH, &height) || width == 0 || height == 0)
        fail();
    checkPictureSize(width, height);
    char message[1024] = {};
    if (!TIFFRGBAImageOK(h.tif, message))
        fail();
    // libtiff fills the whole raster, or fails.
    QImage image =
        RasterPicture::newTransparent(int(width), int(height), RasterPicture::Fill::None);
    auto* raster = reinterpret_cast<uint32_t*>(image.bits());
    if (!TIFFReadRGBAImageOriented(h.tif, width, height, raster, ORIENTATION_TOPLEFT, 1))
        fail();
    toStraightArgb(image);
    return std::make_unique<RasterPicture>(std::move(image));
}

} // namespace tessaly
