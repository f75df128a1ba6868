#include "stamp/JpegWriter.h"

#include "platform/Error.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace tessaly {

namespace {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Everything libjpeg owns, released however the encoding ends.
struct JpegEncoder {
    jpeg_compress_struct cinfo{};
    JpegErrors errors;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegEncoder() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = onErrorExit;
    }
    ~JpegEncoder() {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
};

// Kept free of C++ objects with destructors: libjpeg leaves it by longjmp.
bool encode(JpegEncoder& e, const Bitmap24& bitmap, int quality, const QByteArray& app1) {
    jpeg_compress_struct& cinfo = e.cinfo;
    if (setjmp(e.errors.jump))
        return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &e.buffer, &e.size);
    cinfo.image_width = JDIMENSION(bitmap.width());
    cinfo.image_height = JDIMENSION(bitmap.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.isEmpty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(app1.constData()),
                          unsigned(app1.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(bitmap.scanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

QByteArray encodeJpeg(const Bitmap24& bitmap, int quality, const QByteArray& exif) {
    const QByteArray app1 = exif.isEmpty() ? QByteArray() : QByteArray("Exif\0\0", 6) + exif;
    JpegEncoder e;
    if (!encode(e, bitmap, quality, app1))
        throw Error(format("JPEG error #%s", {QString::number(e.cinfo.err->msg_code)}));
    return QByteArray(reinterpret_cast<const char*>(e.buffer), qsizetype(e.size));
}

} // namespace tessaly
