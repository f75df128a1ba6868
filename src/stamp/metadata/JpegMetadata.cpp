#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/PhotoshopResources.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace tessaly {

namespace {

const QByteArray kExifHeader("Exif\0\0", 6);
const QByteArray kXmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArray kPhotoshopHeader("Photoshop 3.0\0", 14);

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr, int) {}

struct HeaderReader {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    JOCTET* icc = nullptr;
    unsigned int iccSize = 0;
    HeaderReader() {
        cinfo.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = onErrorExit;
        errors.base.emit_message = ignoreMessage;
    }
    ~HeaderReader() {
        jpeg_destroy_decompress(&cinfo);
        std::free(icc);
    }
};

// Reads the segments in front of the first scan, keeping the ones that hold
// metadata. Kept free of C++ objects with destructors: libjpeg leaves it by
// longjmp.
bool readHeader(HeaderReader& r, const QByteArray& file) {
    if (setjmp(r.errors.jump))
        return false;
    jpeg_create_decompress(&r.cinfo);
    jpeg_mem_src(&r.cinfo, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    for (int app : {1, 2, 13})
        jpeg_save_markers(&r.cinfo, JPEG_APP0 + app, 0xFFFF);
    jpeg_read_header(&r.cinfo, TRUE);
    jpeg_read_icc_profile(&r.cinfo, &r.icc, &r.iccSize);
    return true;
}

// The density of the JFIF header, when it names a unit or a ratio of other
// than one to one (libjpeg's default, which says nothing).
std::optional<Resolution> jfifResolution(const jpeg_decompress_struct& cinfo) {
    if (!cinfo.saw_JFIF_marker || cinfo.X_density == 0 || cinfo.Y_density == 0)
        return std::nullopt;
    if (cinfo.density_unit == 0 && cinfo.X_density == cinfo.Y_density)
        return std::nullopt;
    using Unit = Resolution::Unit;
    const Unit unit = cinfo.density_unit == 1   ? Unit::Inch
                      : cinfo.density_unit == 2 ? Unit::Centimetre
                                                : Unit::None;
    return Resolution{unit, double(cinfo.X_density), double(cinfo.Y_density)};
}

void takeSegments(const jpeg_decompress_struct& cinfo, PhotoMetadata& found) {
    QByteArray photoshop;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        // A copy: libjpeg frees its markers with the reader.
        const QByteArray data(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
        if (m->marker == JPEG_APP0 + 1 && found.exif.isEmpty() && data.startsWith(kExifHeader))
            found.exif = data.mid(kExifHeader.size());
        else if (m->marker == JPEG_APP0 + 1 && found.xmp.isEmpty() && data.startsWith(kXmpHeader))
            found.xmp = data.mid(kXmpHeader.size());
        else if (m->marker == JPEG_APP0 + 13 && data.startsWith(kPhotoshopHeader))
            photoshop += data.mid(kPhotoshopHeader.size()); // long blocks span segments
    }
    found.iptc = iptcOfResources(photoshop);
}

} // namespace

PhotoMetadata readJpegMetadata(const QByteArray& file) {
    HeaderReader r;
    PhotoMetadata found;
    if (!readHeader(r, file))
        return found;
    takeSegments(r.cinfo, found);
    if (r.icc)
        found.icc = QByteArray(reinterpret_cast<const char*>(r.icc), qsizetype(r.iccSize));
    found.resolution = jfifResolution(r.cinfo);
    return found;
}

} // namespace tessaly
