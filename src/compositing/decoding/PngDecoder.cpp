#include "compositing/decoding/PngDecoder.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/BitmapPicture.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace tessaly {

namespace {

// The state libpng's callbacks see. No C++ exception may cross libpng: its
// errors come back here through longjmp and are raised once libpng's frames
// are gone.
struct PngSource {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    const char* invalidMessage = nullptr; // replaces the PNG text when set
    char message[160] = {};
    std::jmp_buf jump;
};

void onError(png_structp png, png_const_charp text) {
    auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(src->message, sizeof src->message, "%s", text ? text : "unknown error");
    std::longjmp(src->jump, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos)
        png_error(png, "unexpected end of file");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

[[noreturn]] void fail(const PngSource& src) {
    if (src.invalidMessage)
        throw Error(QString::fromLatin1(src.invalidMessage));
    throw Error(QStringLiteral("PNG image is not valid: %1").arg(QString::fromLatin1(src.message)));
}

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Whether the decoded pixels carry transparency that shows.
bool hasTransparency(png_structp png, png_infop info) {
    if (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA)
        return true;
    if (!png_get_valid(png, info, PNG_INFO_tRNS))
        return false;
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE)
        return true; // a colour key
    png_bytep alphas = nullptr;
    int count = 0;
    png_get_tRNS(png, info, &alphas, &count, nullptr);
    for (int i = 0; i < count; ++i) {
        if (alphas[i] != 255)
            return true;
    }
    return false;
}

// Sets up the output form: BGR bytes, or 32-bit ARGB values with alpha.
void chooseTransforms(png_structp png, png_infop info, bool alpha) {
    png_set_expand(png); // palette, low-bit grey and tRNS to full channels
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!alpha) {
        png_set_strip_alpha(png);
        png_set_bgr(png);
    } else {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        png_set_bgr(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
#else
        png_set_add_alpha(png, 0xFF, PNG_FILLER_BEFORE);
        png_set_swap_alpha(png);
#endif
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool readHeader(PngReader& r, PngSource& src) {
    if (setjmp(src.jump))
        return false;
    png_set_read_fn(r.png, &src, onRead);
    // The program's own pixel limit applies, not libpng's default width limit.
    png_set_user_limits(r.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    // Only the header, palette, transparency and image data matter here.
    // Every other chunk is skipped unread, so that a damaged length in a text
    // chunk cannot make libpng allocate and clear gigabytes first.
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(r.png, r.info);
    return true;
}

bool readRows(PngReader& r, PngSource& src, png_bytepp rows, png_uint_32 count) {
    if (setjmp(src.jump))
        return false;
    png_read_rows(r.png, rows, nullptr, count);
    return true;
}

// Every pass of an interlaced picture.
bool readImage(PngReader& r, PngSource& src, png_bytepp rows) {
    if (setjmp(src.jump))
        return false;
    png_read_image(r.png, rows);
    return true;
}

bool readEnd(PngReader& r, PngSource& src) {
    if (setjmp(src.jump))
        return false;
    png_read_end(r.png, nullptr);
    return true;
}

bool prepare(PngReader& r, PngSource& src, bool alpha) {
    if (setjmp(src.jump))
        return false;
    chooseTransforms(r.png, r.info, alpha);
    return true;
}

// A PNG stream read up to its pixels, with the output form chosen.
struct PngDecoding {
    PngSource src;
    PngReader r;
    png_uint_32 width = 0, height = 0;
    bool alpha = false;
    bool interlaced = false;

    PngDecoding(const uint8_t* data, std::size_t size, const char* invalidMessage) {
        src.data = data;
        src.size = size;
        src.invalidMessage = invalidMessage;
        r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, onError, onWarning);
        if (r.png)
            r.info = png_create_info_struct(r.png);
        if (!r.png || !r.info)
            throw Error(QStringLiteral("Not enough memory to read a PNG image"));
        if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
            std::snprintf(src.message, sizeof src.message, "not a PNG file");
            fail(src);
        }
        if (!readHeader(r, src))
            fail(src);
        width = png_get_image_width(r.png, r.info);
        height = png_get_image_height(r.png, r.info);
        checkPictureSize(width, height);
        alpha = hasTransparency(r.png, r.info);
        interlaced = png_get_interlace_type(r.png, r.info) != PNG_INTERLACE_NONE;
        if (!prepare(r, src, alpha))
            fail(src);
    }

    // Reads rows[0] to rows[height - 1], every pass of an interlaced picture.
    void readAll(std::vector<png_bytep>& rows) {
        const bool read =
            interlaced ? readImage(r, src, rows.data()) : readRows(r, src, rows.data(), height);
        if (!read || !readEnd(r, src))
            fail(src);
    }

    // Reads a picture without interlacing into the sink's bands, one after
    // the other.
    void readBands(BandSink& sink) {
        std::vector<png_bytep> rows;
        for (png_uint_32 y = 0; y < height;) {
            Bitmap24& band = sink.band(int(y));
            rows.resize(std::size_t(band.height()));
            for (int i = 0; i < band.height(); ++i)
                rows[std::size_t(i)] = band.scanLine(i);
            if (!readRows(r, src, rows.data(), png_uint_32(band.height())))
                failBands(sink);
            y += png_uint_32(band.height());
            sink.bandDecoded();
        }
        if (!readEnd(r, src))
            failBands(sink);
    }

    [[noreturn]] void failBands(BandSink& sink) {
        sink.decodingFailed();
        fail(src);
    }
};

// An opaque picture is read straight into the blend's bitmap form, or into
// the bands of a sink that takes them.
std::unique_ptr<Picture> decodeOpaque(PngDecoding& d, BandSink* sink) {
    if (sink && !d.interlaced && sink->begin(int(d.width), int(d.height))) {
        d.readBands(*sink);
        return nullptr;
    }
    Bitmap24 bitmap = BitmapPicture::newPixels(int(d.width), int(d.height));
    std::vector<png_bytep> rows(d.height);
    for (png_uint_32 y = 0; y < d.height; ++y)
        rows[y] = bitmap.scanLine(int(y));
    d.readAll(rows);
    return std::make_unique<BitmapPicture>(std::move(bitmap));
}

} // namespace

QImage decodePngImage(const uint8_t* data, std::size_t size, const char* invalidMessage) {
    PngDecoding d(data, size, invalidMessage);
    // Every row is decoded, or the picture is not made at all.
    const auto fill = RasterPicture::Fill::None;
    QImage image = d.alpha ? RasterPicture::newTransparent(int(d.width), int(d.height), fill)
                           : RasterPicture::newOpaque(int(d.width), int(d.height), fill);
    std::vector<png_bytep> rows(d.height);
    for (png_uint_32 y = 0; y < d.height; ++y)
        rows[y] = image.scanLine(int(y));
    d.readAll(rows);
    return image;
}

std::unique_ptr<Picture> decodePng(const QByteArray& bytes) {
    return decodePng(bytes, nullptr);
}

std::unique_ptr<Picture> decodePng(const QByteArray& bytes, BandSink* sink) {
    PngDecoding d(reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size()),
                  nullptr);
    if (!d.alpha)
        return decodeOpaque(d, sink);
    return std::make_unique<RasterPicture>(decodePngImage(
        reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
}

} // namespace tessaly
