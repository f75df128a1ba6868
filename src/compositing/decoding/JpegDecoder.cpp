#include "compositing/decoding/JpegDecoder.h"

#include "compositing/decoding/ExifOrientation.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/BitmapPicture.h"
#include "compositing/picture/Orientation.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>
#include <vector>

namespace tessaly {

namespace {

// libjpeg's errors come back through longjmp with the message code, and are
// raised as C++ errors once libjpeg's frames are gone.
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code = 0;
};

void onErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    errors->code = cinfo->err->msg_code;
    std::longjmp(errors->jump, 1);
}

// Warnings about damaged data are let pass, as decoders commonly do, except
// that the data end early: a cut-off file is an error, not a grey picture.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        onErrorExit(cinfo);
}

void silence(j_common_ptr) {}

struct JpegReader {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    JpegReader() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = onErrorExit;
        errors.base.emit_message = onMessage;
        errors.base.output_message = silence;
    }
    ~JpegReader() { jpeg_destroy_decompress(&cinfo); }
    [[noreturn]] void fail() const {
        throw Error(format("JPEG error #%s", {QString::number(errors.code)}));
    }
};

bool isCmyk(const jpeg_decompress_struct& cinfo) {
    return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

bool readHeader(JpegReader& r, const QByteArray& bytes) {
    if (setjmp(r.errors.jump))
        return false;
    jpeg_create_decompress(&r.cinfo);
    jpeg_mem_src(&r.cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&r.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&r.cinfo, TRUE);
    r.cinfo.out_color_space = isCmyk(r.cinfo) ? JCS_CMYK : JCS_EXT_BGR;
    return true;
}

// Adobe's CMYK JPEGs store the inks inverted (0 = full ink); other writers
// store them as they are.
void cmykToBgr(const uint8_t* cmyk, uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = uint8_t((y * k + 127) / 255);
        bgr[1] = uint8_t((m * k + 127) / 255);
        bgr[2] = uint8_t((c * k + 127) / 255);
    }
}

// Where the decoded rows go.
class RowTarget {
public:
    virtual ~RowTarget() = default;
    // The memory for row y (counted from the top).
    virtual uint8_t* row(JDIMENSION y) = 0;
    // Row y holds its final pixels.
    virtual void rowDone(JDIMENSION) {}
};

// One picture-sized block: row y at first + y x stride, so that rows can run
// top-down (an image) or bottom-up (a bitmap).
class WholeTarget final : public RowTarget {
public:
    WholeTarget(uint8_t* first, std::ptrdiff_t stride) : first_(first), stride_(stride) {}
    uint8_t* row(JDIMENSION y) override { return first_ + std::ptrdiff_t(y) * stride_; }

private:
    uint8_t* first_;
    std::ptrdiff_t stride_;
};

// The bands of a sink, one after the other.
class BandTarget final : public RowTarget {
public:
    explicit BandTarget(BandSink& sink) : sink_(sink) {}
    uint8_t* row(JDIMENSION y) override {
        if (!band_) {
            band_ = &sink_.band(int(y));
            first_ = y;
        }
        return band_->scanLine(int(y - first_));
    }
    void rowDone(JDIMENSION y) override {
        if (int(y + 1 - first_) == band_->height()) {
            band_ = nullptr;
            sink_.bandDecoded();
        }
    }

private:
    BandSink& sink_;
    Bitmap24* band_ = nullptr;
    JDIMENSION first_ = 0;
};

bool readPixels(JpegReader& r, RowTarget& target, uint8_t* cmykRow) {
    if (setjmp(r.errors.jump))
        return false;
    jpeg_decompress_struct& cinfo = r.cinfo;
    jpeg_start_decompress(&cinfo);
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        uint8_t* out = target.row(y);
        JSAMPROW row = cmykRow ? cmykRow : out;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            onErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
        if (cmykRow)
            cmykToBgr(cmykRow, out, int(cinfo.output_width), inverted);
        target.rowDone(y);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// The orientation that the first EXIF segment gives the picture.
int orientation(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return exifOrientation(m->data, m->data_length);
    }
    return 1;
}

} // namespace

std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes) {
    return decodeJpeg(bytes, nullptr);
}

std::unique_ptr<Picture> decodeJpeg(const QByteArray& bytes, BandSink* sink) {
    JpegReader r;
    if (!readHeader(r, bytes))
        r.fail();
    checkPictureSize(r.cinfo.image_width, r.cinfo.image_height);
    // Saved markers are freed with the decoded image's memory: read it first.
    const int turn = orientation(r.cinfo);
    std::vector<uint8_t> cmykRow(isCmyk(r.cinfo) ? std::size_t(r.cinfo.image_width) * 4 : 0);
    uint8_t* const cmyk = cmykRow.empty() ? nullptr : cmykRow.data();
    const int width = int(r.cinfo.image_width), height = int(r.cinfo.image_height);
    // Every row is decoded, or the picture is not made at all.
    if (turn != 1 && isOrientation(turn)) {
        QImage image = RasterPicture::newOpaque(width, height, RasterPicture::Fill::None);
        WholeTarget target(image.scanLine(0), std::ptrdiff_t(image.bytesPerLine()));
        if (!readPixels(r, target, cmyk))
            r.fail();
        return std::make_unique<RasterPicture>(uprightImage(std::move(image), turn));
    }
    if (sink && width > 0 && height > 0 && sink->begin(width, height)) {
        BandTarget target(*sink);
        if (!readPixels(r, target, cmyk)) {
            sink->decodingFailed();
            r.fail();
        }
        return nullptr;
    }
    // An upright photo is decoded straight into the blend's bitmap form, in
    // which the blend then works.
    Bitmap24 bitmap = BitmapPicture::newPixels(width, height);
    WholeTarget target(bitmap.scanLine(0), -std::ptrdiff_t(bitmap.rowSize()));
    if (!readPixels(r, target, cmyk))
        r.fail();
    return std::make_unique<BitmapPicture>(std::move(bitmap));
}

} // namespace tessaly
