#include "stamp/JpegWriter.h"

#include "platform/Error.h"
#include "stamp/metadata/PhotoshopResources.h"
#include "stamp/metadata/ResolutionUnits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

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

// The marker segments after the JFIF header, each one's payload whole.
struct Segment {
    int marker;
    QByteArray payload;
};

std::vector<Segment> metadataSegments(const PhotoMetadata& m) {
    std::vector<Segment> segments;
    if (!m.exif.isEmpty())
        segments.push_back({JPEG_APP0 + 1, QByteArray("Exif\0\0", 6) + m.exif});
    if (!m.xmp.isEmpty())
        segments.push_back(
            {JPEG_APP0 + 1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + m.xmp});
    if (!m.iptc.isEmpty()) {
        // Photoshop continues a long resource block in further segments.
        const QByteArray header("Photoshop 3.0\0", 14);
        const QByteArray resources = resourcesWithIptc(m.iptc);
        const qsizetype room = 65533 - header.size();
        for (qsizetype at = 0; at < resources.size(); at += room)
            segments.push_back({JPEG_APP0 + 13, header + resources.mid(at, room)});
    }
    return segments;
}

void setSampling(jpeg_compress_struct& cinfo, ChromaSampling sampling) {
    // The luma component's factors; the chroma components keep 1 x 1.
    cinfo.comp_info[0].h_samp_factor = sampling == ChromaSampling::Full444 ? 1 : 2;
    cinfo.comp_info[0].v_samp_factor = sampling == ChromaSampling::Quarter420 ? 2 : 1;
}

void setDensity(jpeg_compress_struct& cinfo, const std::optional<Resolution>& resolution) {
    if (!resolution)
        return;
    const JfifDensity d = jfifDensity(*resolution);
    cinfo.density_unit = UINT8(d.unit);
    cinfo.X_density = UINT16(d.x);
    cinfo.Y_density = UINT16(d.y);
}

// Kept free of C++ objects with destructors: libjpeg leaves it by longjmp.
bool encode(JpegEncoder& e, const Bitmap24& bitmap, const JpegSettings& settings,
            const PhotoMetadata& metadata, const std::vector<Segment>& segments) {
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
    jpeg_set_quality(&cinfo, settings.quality, TRUE);
    setSampling(cinfo, settings.sampling);
    setDensity(cinfo, metadata.resolution);
    jpeg_start_compress(&cinfo, TRUE);
    for (const Segment& s : segments)
        jpeg_write_marker(&cinfo, s.marker, reinterpret_cast<const JOCTET*>(s.payload.constData()),
                          unsigned(s.payload.size()));
    if (!metadata.icc.isEmpty())
        jpeg_write_icc_profile(&cinfo, reinterpret_cast<const JOCTET*>(metadata.icc.constData()),
                               unsigned(metadata.icc.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(bitmap.scanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

QByteArray encodeJpeg(const Bitmap24& bitmap, const JpegSettings& settings,
                      const PhotoMetadata& metadata) {
    const std::vector<Segment> segments = metadataSegments(metadata);
    JpegEncoder e;
    if (!encode(e, bitmap, settings, metadata, segments))
        throw Error(format("JPEG error #%s", {QString::number(e.cinfo.err->msg_code)}));
    return QByteArray(reinterpret_cast<const char*>(e.buffer), qsizetype(e.size));
}

} // namespace tessaly
