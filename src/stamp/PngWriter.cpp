#include "stamp/PngWriter.h"

#include "platform/Error.h"
#include "stamp/metadata/RawProfile.h"
#include "stamp/metadata/ResolutionUnits.h"

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

png_bytep bytesOf(const QByteArray& data) {
    return reinterpret_cast<png_bytep>(const_cast<char*>(data.constData()));
}

// The text chunks, whose texts must outlive the encoding.
struct TextChunks {
    QByteArray iptcText;
    std::vector<png_text> chunks;

    explicit TextChunks(const PhotoMetadata& m) {
        if (!m.xmp.isEmpty()) {
            png_text xmp{};
            xmp.compression = PNG_ITXT_COMPRESSION_NONE;
            xmp.key = const_cast<char*>("XML:com.adobe.xmp");
            xmp.text = const_cast<char*>(m.xmp.constData());
            xmp.itxt_length = std::size_t(m.xmp.size());
            chunks.push_back(xmp);
        }
        if (!m.iptc.isEmpty()) {
            iptcText = rawProfileText("iptc", m.iptc);
            png_text iptc{};
            iptc.compression = PNG_TEXT_COMPRESSION_zTXt;
            iptc.key = const_cast<char*>("Raw profile type iptc");
            iptc.text = iptcText.data();
            iptc.text_length = std::size_t(iptcText.size());
            chunks.push_back(iptc);
        }
    }
};

void setMetadata(const PngEncoder& e, const PhotoMetadata& m, TextChunks& texts) {
    if (!m.exif.isEmpty())
        png_set_eXIf_1(e.png, e.info, png_uint_32(m.exif.size()), bytesOf(m.exif));
    // The profile is carried byte for byte: libpng's doubts about one (a
    // known sRGB profile with a wrong checksum, say) leave it out at most,
    // never the picture.
    png_set_benign_errors(e.png, 1);
    png_set_option(e.png, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
    if (!m.icc.isEmpty())
        png_set_iCCP(e.png, e.info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, bytesOf(m.icc),
                     png_uint_32(m.icc.size()));
    if (!texts.chunks.empty())
        png_set_text(e.png, e.info, texts.chunks.data(), int(texts.chunks.size()));
    if (m.resolution) {
        const PngPhysical p = pngPhysical(*m.resolution);
        png_set_pHYs(e.png, e.info, p.x, p.y, p.unit);
    }
}

// Kept free of C++ objects with destructors: libpng leaves it by longjmp.
bool encode(PngEncoder& e, const Bitmap24& bitmap, const PhotoMetadata& metadata, TextChunks& texts,
            std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(e.png)))
        return false;
    png_set_write_fn(e.png, png_get_error_ptr(e.png), append, flush);
    png_set_IHDR(e.png, e.info, png_uint_32(bitmap.width()), png_uint_32(bitmap.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    setMetadata(e, metadata, texts);
    png_write_info(e.png, e.info);
    png_set_bgr(e.png);
    png_write_image(e.png, rows.data());
    // Without the info again: libpng would write its eXIf chunk a second time.
    png_write_end(e.png, nullptr);
    return true;
}

} // namespace

QByteArray encodePng(const Bitmap24& bitmap, const PhotoMetadata& metadata) {
    PngOutput out;
    std::vector<png_bytep> rows(std::size_t(bitmap.height()));
    for (int y = 0; y < bitmap.height(); ++y)
        rows[std::size_t(y)] = const_cast<png_bytep>(bitmap.scanLine(y));
    TextChunks texts(metadata);
    PngEncoder e;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, onError, onWarning);
    if (e.png)
        e.info = png_create_info_struct(e.png);
    if (!e.png || !e.info)
        throw std::bad_alloc();
    if (!encode(e, bitmap, metadata, texts, rows))
        throw Error(format("PNG error: %s", {QString::fromLatin1(out.message)}));
    return std::move(out.bytes);
}

} // namespace tessaly
