#pragma once

// What a result file says about itself, read back through libjpeg, libpng,
// libtiff and libexif rather than through the program's own readers.

#include "StampFixtures.h"

#include <cmath>
#include <cstdlib>
#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>
#include <optional>
#include <png.h>
#include <QSize>
#include <QTemporaryFile>
#include <tiffio.h>
#include <vector>

namespace tessaly::test {

struct Probe {
    QSize size;
    QByteArray icc, xmp, iptc; // iptc: the IIM data sets
    int orientation = 0;       // 0: no Orientation tag
    bool thumbnail = false;
    QByteArray make, model, takenAt, unknownTag, interoperability;
    double exposure = 0; // seconds
    std::vector<double> latitude;
    QSize pixelDimensions;
    double dpi = 0; // the container's own resolution, 0 for none
};

inline QByteArray entryBytes(ExifData* d, ExifIfd ifd, uint16_t tag) {
    ExifEntry* e = exif_content_get_entry(d->ifd[ifd], ExifTag(tag));
    return e ? QByteArray(reinterpret_cast<const char*>(e->data), qsizetype(e->size))
             : QByteArray();
}

inline double rationalAt(ExifData* d, ExifEntry* e, int i) {
    const ExifRational r = exif_get_rational(e->data + 8 * i, exif_data_get_byte_order(d));
    return double(r.numerator) / r.denominator;
}

inline int shortOrLong(ExifData* d, ExifEntry* e) {
    if (!e)
        return 0;
    const ExifByteOrder o = exif_data_get_byte_order(d);
    return e->format == EXIF_FORMAT_SHORT ? exif_get_short(e->data, o)
                                          : int(exif_get_long(e->data, o));
}

// What an EXIF block (from its TIFF header on) holds, through libexif.
inline void probeExif(const QByteArray& block, Probe& p) {
    if (block.isEmpty())
        return;
    const QByteArray segment = QByteArray("Exif\0\0", 6) + block;
    ExifData* d = exif_data_new();
    exif_data_unset_option(d, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_load_data(d, reinterpret_cast<const unsigned char*>(segment.constData()),
                        unsigned(segment.size()));
    const ExifByteOrder o = exif_data_get_byte_order(d);
    if (ExifEntry* e = exif_content_get_entry(d->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION))
        p.orientation = exif_get_short(e->data, o);
    p.thumbnail = d->data != nullptr || d->ifd[EXIF_IFD_1]->count > 0;
    p.make = entryBytes(d, EXIF_IFD_0, EXIF_TAG_MAKE);
    p.model = entryBytes(d, EXIF_IFD_0, EXIF_TAG_MODEL);
    p.takenAt = entryBytes(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    p.unknownTag = entryBytes(d, EXIF_IFD_EXIF, 0xC000);
    p.interoperability = entryBytes(d, EXIF_IFD_INTEROPERABILITY, EXIF_TAG_INTEROPERABILITY_INDEX);
    if (ExifEntry* e = exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_EXPOSURE_TIME))
        p.exposure = rationalAt(d, e, 0);
    if (ExifEntry* e = exif_content_get_entry(d->ifd[EXIF_IFD_GPS], ExifTag(EXIF_TAG_GPS_LATITUDE)))
        for (unsigned long i = 0; i < e->components; ++i)
            p.latitude.push_back(rationalAt(d, e, int(i)));
    p.pixelDimensions = QSize(
        shortOrLong(d, exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_PIXEL_X_DIMENSION)),
        shortOrLong(d, exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_PIXEL_Y_DIMENSION)));
    exif_data_unref(d);
}

// The IPTC data of Photoshop resource blocks.
inline QByteArray iptcOfBlocks(const QByteArray& blocks) {
    for (qsizetype at = 0; blocks.size() - at >= 12 && blocks.mid(at, 4) == "8BIM";) {
        const int id = uint8_t(blocks[at + 4]) << 8 | uint8_t(blocks[at + 5]);
        const qsizetype name = (uint8_t(blocks[at + 6]) + 2) & ~1;
        const QByteArray sizeBytes = blocks.mid(at + 6 + name, 4);
        const qsizetype size = qsizetype(uint8_t(sizeBytes[0])) << 24 |
                               uint8_t(sizeBytes[1]) << 16 | uint8_t(sizeBytes[2]) << 8 |
                               uint8_t(sizeBytes[3]);
        if (id == 0x0404)
            return blocks.mid(at + 10 + name, size);
        at += 10 + name + size + (size & 1);
    }
    return {};
}

// Hands libjpeg's reading of the JPEG's header, its metadata segments kept,
// to look.
template <typename Look> void readJpegHeader(const QByteArray& file, Look look) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    for (int app : {1, 2, 13})
        jpeg_save_markers(&cinfo, JPEG_APP0 + app, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    look(cinfo);
    jpeg_destroy_decompress(&cinfo);
}

inline void probeJpegHeader(jpeg_decompress_struct& cinfo, Probe& p) {
    p.size = QSize(int(cinfo.image_width), int(cinfo.image_height));
    if (cinfo.saw_JFIF_marker && cinfo.density_unit == 1)
        p.dpi = cinfo.X_density;
    QByteArray photoshop;
    for (auto* m = cinfo.marker_list; m; m = m->next) {
        const QByteArray data(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
        if (m->marker == JPEG_APP0 + 1 && data.startsWith(QByteArray("Exif\0\0", 6)))
            probeExif(data.mid(6), p);
        else if (m->marker == JPEG_APP0 + 1 && data.startsWith("http://ns.adobe.com/xap/1.0/"))
            p.xmp = data.mid(29);
        else if (m->marker == JPEG_APP0 + 13 && data.startsWith("Photoshop 3.0"))
            photoshop += data.mid(14);
    }
    p.iptc = iptcOfBlocks(photoshop);
    JOCTET* icc = nullptr;
    unsigned int iccSize = 0;
    if (jpeg_read_icc_profile(&cinfo, &icc, &iccSize))
        p.icc = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccSize));
    std::free(icc);
}

inline Probe probeJpeg(const QByteArray& file) {
    Probe p;
    readJpegHeader(file, [&](jpeg_decompress_struct& cinfo) { probeJpegHeader(cinfo, p); });
    return p;
}

// The bytes of an ImageMagick raw profile text: two lines, then hex digits.
inline QByteArray rawProfile(const QByteArray& text) {
    return QByteArray::fromHex(text.split('\n').mid(3).join());
}

inline Probe probePng(const QByteArray& file) {
    Probe p;
    struct Reader {
        const QByteArray& file;
        qsizetype at = 0;
    } reader{file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp png, png_bytep out, png_size_t n) {
        auto* r = static_cast<Reader*>(png_get_io_ptr(png));
        std::memcpy(out, r->file.constData() + r->at, n);
        r->at += qsizetype(n);
    });
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    p.size = QSize(int(png_get_image_width(png, info)), int(png_get_image_height(png, info)));
    png_uint_32 size = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(png, info, &size, &exif))
        probeExif(QByteArray(reinterpret_cast<const char*>(exif), qsizetype(size)), p);
    png_charp name = nullptr;
    int compression = 0;
    png_bytep icc = nullptr;
    if (png_get_iCCP(png, info, &name, &compression, &icc, &size))
        p.icc = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(size));
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        const QByteArray key(texts[i].key),
            text(texts[i].text, qsizetype(std::max(texts[i].text_length, texts[i].itxt_length)));
        if (key == "XML:com.adobe.xmp")
            p.xmp = text;
        else if (key == "Raw profile type iptc")
            p.iptc = rawProfile(text);
    }
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &x, &y, &unit) && unit == PNG_RESOLUTION_METER)
        p.dpi = std::round(x * 0.0254);
    png_destroy_read_struct(&png, &info, nullptr);
    return p;
}

// A value of a field that libtiff hands over as float or as double.
inline double tiffReal(TIFF* tif, uint32_t tag) {
    if (TIFFFieldSetGetSize(TIFFFieldWithTag(tif, tag)) == 4) {
        float v = 0;
        return TIFFGetField(tif, tag, &v) ? v : 0;
    }
    double v = 0;
    return TIFFGetField(tif, tag, &v) ? v : 0;
}

inline QByteArray tiffBytes(TIFF* tif, uint32_t tag) {
    uint32_t count = 0;
    const char* data = nullptr;
    return TIFFGetField(tif, tag, &count, &data) ? QByteArray(data, qsizetype(count))
                                                 : QByteArray();
}

inline QByteArray tiffText(TIFF* tif, uint32_t tag) {
    const char* text = nullptr;
    return TIFFGetField(tif, tag, &text) ? QByteArray(text, qsizetype(std::strlen(text)) + 1)
                                         : QByteArray();
}

inline void probeTiffExif(TIFF* tif, Probe& p) {
    uint64_t exif = 0, gps = 0;
    TIFFGetField(tif, TIFFTAG_EXIFIFD, &exif);
    TIFFGetField(tif, TIFFTAG_GPSIFD, &gps);
    if (exif && TIFFReadEXIFDirectory(tif, exif)) {
        p.takenAt = tiffText(tif, EXIFTAG_DATETIMEORIGINAL);
        p.exposure = tiffReal(tif, EXIFTAG_EXPOSURETIME);
        uint32_t x = 0, y = 0;
        TIFFGetField(tif, EXIFTAG_PIXELXDIMENSION, &x);
        TIFFGetField(tif, EXIFTAG_PIXELYDIMENSION, &y);
        p.pixelDimensions = QSize(int(x), int(y));
        p.unknownTag = tiffBytes(tif, 0xC000);
    }
    if (gps && TIFFReadGPSDirectory(tif, gps)) {
        const double* latitude = nullptr;
        if (TIFFGetField(tif, GPSTAG_LATITUDE, &latitude) && latitude)
            p.latitude.assign(latitude, latitude + 3);
    }
}

inline Probe probeTiff(const QByteArray& file) {
    Probe p;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(file) != file.size() || !copy.flush())
        return p;
    TIFFSetWarningHandler(nullptr); // about tags that libtiff has no name for
    TIFF* tif = TIFFOpen(QFile::encodeName(copy.fileName()).constData(), "r");
    if (!tif)
        return p;
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    p.size = QSize(int(width), int(height));
    p.icc = tiffBytes(tif, TIFFTAG_ICCPROFILE);
    p.xmp = tiffBytes(tif, TIFFTAG_XMLPACKET);
    p.iptc = tiffBytes(tif, TIFFTAG_RICHTIFFIPTC);
    while (p.iptc.endsWith('\0'))
        p.iptc.chop(1); // the padding to whole 32-bit values
    uint16_t orientation = 0, unit = 0;
    if (TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation))
        p.orientation = orientation;
    float x = 0;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) &&
        TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit))
        p.dpi = unit == RESUNIT_INCH ? x : unit == RESUNIT_CENTIMETER ? x * 2.54 : 0;
    p.make = tiffText(tif, TIFFTAG_MAKE);
    p.model = tiffText(tif, TIFFTAG_MODEL);
    p.thumbnail = TIFFNumberOfDirectories(tif) > 1;
    probeTiffExif(tif, p);
    TIFFClose(tif);
    return p;
}

} // namespace tessaly::test
