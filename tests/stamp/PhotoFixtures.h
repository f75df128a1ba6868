#pragma once

// A photo as cameras and photo programs leave it: EXIF (turned by its
// Orientation, with a thumbnail, GPS and interoperability directories and a
// tag libexif does not know), XMP (with a thumbnail of its own), IPTC (with an
// object preview) and a Display P3 ICC profile, written straight through
// libexif, libjpeg, libpng and libtiff, so that the program's own writers
// play no part in making it.

#include "compositing/picture/Bitmap24.h"
#include "StampFixtures.h"

#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>
#include <png.h>
#include <QColorSpace>
#include <QSize>
#include <tiffio.h>

namespace tessaly::test {

// The photo's stored size; turned a quarter by its Orientation 6, it stands
// upright as kStored.transposed().
const QSize kStored(48, 32);
const char kMake[] = "Quarnel";
const char kModel[] = "Q-1";
const char kTakenAt[] = "2024:05:06 07:08:09";
constexpr uint16_t kUnknownTag = 0xC000; // no standard names it

inline QByteArray bigEndian(uint32_t v, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        out[i] = char(v & 0xFF);
    return out;
}

inline QByteArray rationals(std::initializer_list<std::pair<uint32_t, uint32_t>> values) {
    QByteArray out;
    for (const auto& [n, d] : values)
        out += bigEndian(n, 4) + bigEndian(d, 4);
    return out;
}

inline void addEntry(ExifData* d, ExifIfd ifd, uint16_t tag, ExifFormat format,
                     unsigned long components, const QByteArray& bytes) {
    ExifEntry* e = exif_entry_new();
    e->tag = ExifTag(tag);
    e->format = format;
    e->components = components;
    e->size = unsigned(bytes.size());
    e->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    std::memcpy(e->data, bytes.constData(), std::size_t(bytes.size()));
    exif_content_add_entry(d->ifd[ifd], e);
    exif_entry_unref(e);
}

inline QByteArray ascii(const char* text) {
    return QByteArray(text, qsizetype(std::strlen(text)) + 1);
}

// A small JPEG of one colour: the thumbnail of the photo before stamping.
inline QByteArray thumbnailJpeg() {
    Bitmap24 red;
    red.resize(16, 12);
    for (int y = 0; y < red.height(); ++y)
        for (int x = 0; x < red.width(); ++x)
            red.scanLine(y)[x * 3 + 2] = 0xFF;
    return encodeJpeg(red, {}, {});
}

// The block that libexif writes for the data, from its TIFF header on; the
// data is released.
inline QByteArray savedExif(ExifData* d) {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(d, &bytes, &size);
    const QByteArray block(reinterpret_cast<const char*>(bytes) + 6, qsizetype(size) - 6);
    std::free(bytes);
    exif_data_unref(d);
    return block;
}

// The EXIF block, in Motorola byte order as many cameras write it.
inline QByteArray photoExif(int orientation = 6, const QByteArray& makerNote = {}) {
    ExifData* d = exif_data_new();
    exif_data_set_byte_order(d, EXIF_BYTE_ORDER_MOTOROLA);
    addEntry(d, EXIF_IFD_0, EXIF_TAG_MAKE, EXIF_FORMAT_ASCII, sizeof kMake, ascii(kMake));
    addEntry(d, EXIF_IFD_0, EXIF_TAG_MODEL, EXIF_FORMAT_ASCII, sizeof kModel, ascii(kModel));
    addEntry(d, EXIF_IFD_0, EXIF_TAG_ORIENTATION, EXIF_FORMAT_SHORT, 1, bigEndian(orientation, 2));
    addEntry(d, EXIF_IFD_0, EXIF_TAG_X_RESOLUTION, EXIF_FORMAT_RATIONAL, 1, rationals({{300, 1}}));
    addEntry(d, EXIF_IFD_0, EXIF_TAG_Y_RESOLUTION, EXIF_FORMAT_RATIONAL, 1, rationals({{300, 1}}));
    addEntry(d, EXIF_IFD_0, EXIF_TAG_RESOLUTION_UNIT, EXIF_FORMAT_SHORT, 1, bigEndian(2, 2));
    addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, EXIF_FORMAT_RATIONAL, 1,
             rationals({{1, 125}}));
    addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_FORMAT_ASCII, sizeof kTakenAt,
             ascii(kTakenAt));
    addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, EXIF_FORMAT_SHORT, 1,
             bigEndian(kStored.width(), 2));
    addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, EXIF_FORMAT_SHORT, 1,
             bigEndian(kStored.height(), 2));
    addEntry(d, EXIF_IFD_EXIF, kUnknownTag, EXIF_FORMAT_UNDEFINED, 7, QByteArray("private"));
    if (!makerNote.isEmpty())
        addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_MAKER_NOTE, EXIF_FORMAT_UNDEFINED,
                 unsigned(makerNote.size()), makerNote);
    addEntry(d, EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE_REF, EXIF_FORMAT_ASCII, 2, ascii("N"));
    addEntry(d, EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE, EXIF_FORMAT_RATIONAL, 3,
             rationals({{51, 1}, {30, 1}, {125, 10}}));
    addEntry(d, EXIF_IFD_INTEROPERABILITY, EXIF_TAG_INTEROPERABILITY_INDEX, EXIF_FORMAT_ASCII, 4,
             ascii("R98"));
    addEntry(d, EXIF_IFD_1, EXIF_TAG_COMPRESSION, EXIF_FORMAT_SHORT, 1, bigEndian(6, 2));
    const QByteArray thumbnail = thumbnailJpeg();
    d->data = static_cast<unsigned char*>(std::malloc(std::size_t(thumbnail.size())));
    std::memcpy(d->data, thumbnail.constData(), std::size_t(thumbnail.size()));
    d->size = unsigned(thumbnail.size());
    return savedExif(d);
}

inline QByteArray photoXmp() {
    return QByteArray(
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\"\n"
        " xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
        " xmlns:xmpGImg=\"http://ns.adobe.com/xap/1.0/g/img/\"\n"
        " xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        " tiff:Orientation=\"6\" exif:PixelXDimension=\"48\">\n"
        "<exif:PixelYDimension>32</exif:PixelYDimension>\n"
        "<dc:creator><rdf:Seq><rdf:li>Quarnel Photographer</rdf:li></rdf:Seq></dc:creator>\n"
        "<xmp:Thumbnails><rdf:Alt><rdf:li rdf:parseType=\"Resource\">"
        "<xmpGImg:format>JPEG</xmpGImg:format><xmpGImg:image>/9j/4AAQSkZJRg==</xmpGImg:image>"
        "</rdf:li></rdf:Alt></xmp:Thumbnails>\n"
        "</rdf:Description></rdf:RDF></x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>");
}

inline QByteArray iptcDataSet(int dataset, const QByteArray& value) {
    return QByteArray("\x1C\x02", 2) + char(dataset) + bigEndian(uint32_t(value.size()), 2) + value;
}

// The IPTC data sets a photo carries into its result.
inline QByteArray photoIptcKept() {
    return iptcDataSet(0, QByteArray("\0\x04", 2)) + iptcDataSet(120, "Stamped by the test") +
           iptcDataSet(116, "(c) Quarnel");
}

// The same with an object preview, which stays behind.
inline QByteArray photoIptc() {
    return photoIptcKept() + iptcDataSet(202, "\xFF\xD8\xFF\xE0 the unstamped preview");
}

inline QByteArray photoshopResources(const QByteArray& iptc) {
    QByteArray block =
        QByteArray("8BIM\x04\x04\0\0", 8) + bigEndian(uint32_t(iptc.size()), 4) + iptc;
    return iptc.size() % 2 ? block + '\0' : block;
}

inline QByteArray displayP3Profile() {
    return QColorSpace(QColorSpace::DisplayP3).iccProfile();
}

inline Bitmap24 storedPixels() {
    return photoBitmap(kStored.width(), kStored.height(), 11);
}

struct PhotoSpec {
    QByteArray exif = photoExif(), xmp = photoXmp(), iptc = photoIptc(), icc = displayP3Profile();
    bool jfif = false; // the resolution then comes from the EXIF block
};

// The photo as a JPEG file, its segments written by libjpeg.
inline QByteArray photoJpeg(const PhotoSpec& s = {}) {
    const Bitmap24 pixels = storedPixels();
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(pixels.width());
    cinfo.image_height = JDIMENSION(pixels.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    cinfo.write_JFIF_header = s.jfif;
    jpeg_start_compress(&cinfo, TRUE);
    const auto marker = [&](int code, const QByteArray& payload) {
        jpeg_write_marker(&cinfo, code, reinterpret_cast<const JOCTET*>(payload.constData()),
                          unsigned(payload.size()));
    };
    if (!s.exif.isEmpty())
        marker(JPEG_APP0 + 1, QByteArray("Exif\0\0", 6) + s.exif);
    if (!s.xmp.isEmpty())
        marker(JPEG_APP0 + 1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + s.xmp);
    if (!s.icc.isEmpty())
        jpeg_write_icc_profile(&cinfo, reinterpret_cast<const JOCTET*>(s.icc.constData()),
                               unsigned(s.icc.size()));
    if (!s.iptc.isEmpty())
        marker(JPEG_APP0 + 13, QByteArray("Photoshop 3.0\0", 14) + photoshopResources(s.iptc));
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(pixels.scanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray file(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return file;
}

} // namespace tessaly::test
