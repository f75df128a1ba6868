#include "stamp/PngWriter.h"

#include "platform/Error.h"

#include <csetjmp>
#include <new>
#include <png.h>
#include <vector>

namespace tessaly {

namespace {

struct PngOutput {
    QByteArray bytes;
    char message[256] = {};
};

void onError(png_structp png, png_const_charp message) {
    auto* out = static_cast<PngOutput*>(png_get_error_ptr(png));
    qstrncpy(out->message, message, sizeof out->message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void append(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
    try {
        out->bytes.append(reinterpret_cast<const char*>(data), qsizetype(size));
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flush(png_structp) {}

struct PngEncoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngEncoder() { png_destroy_write_struct(&png, &info); }
};

// Kept free of C++ objects with destructors: libpng leaves it by longjmp.
bool encode(PngEncoder& e, const Bitmap24& bitmap, const QByteArray& exif,
            std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_set_write_fn(e.png, png_get_error_ptr(e.png), append, flush);
    png_set_IHDR(e.png, e.info, png_uint_32(bitmap.width()), png_uint_32(bitmap.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!exif.isEmpty())
        png_set_eXIf_1(e.png, e.info, png_uint_32(exif.size()),
                       reinterpret_cast<png_bytep>(const_cast<char*>(exif.constData())));
    png_set_rows(e.png, e.info, rows.data());
    png_write_png(e.png, e.info, PNG_TRANSFORM_BGR, nullptr);
    return true;
}

} // namespace

QByteArray encodePng(const Bitmap24& bitmap, const QByteArray& exif) {
    PngOutput out;
    std::vector<png_bytep> rows(std::size_t(bitmap.height()));
    for (int y = 0; y < bitmap.height(); ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(bitmap.scanLine(y));
    PngEncoder e;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, onError, onWarning);
    if (e.png)
        e.info = png_create_info_struct(e.png);
    if (!e.png || !e.info)
        throw std::bad_alloc();
    if (!encode(e, bitmap, exif, rows))
        throw Error(format("PNG error: %s", {QString::fromLatin1(out.message)}));
    return std::move(out.bytes);
}

} // namespace tessaly
