#include "compositing/decoding/tiff/TiffFile.h"
#include "platform/Error.h"
#include "stamp/metadata/ExifFields.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/PhotoshopResources.h"
#include "stamp/metadata/TiffDirectoryReader.h"

#include <cmath>
#include <cstring>

namespace tessaly {

namespace {

// The first directory's text tags that an EXIF block's first directory
// holds too: what describes the picture rather than its storage.
constexpr uint32_t kDescriptiveTags[] = {
    TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE,   TIFFTAG_MODEL,        TIFFTAG_SOFTWARE,
    TIFFTAG_DATETIME,         TIFFTAG_ARTIST, TIFFTAG_HOSTCOMPUTER, TIFFTAG_COPYRIGHT,
};
constexpr uint16_t kTypeAscii = 2;

QByteArray bytesTag(TIFF* tif, uint32_t tag) {
    uint32_t count = 0;
    const void* data = nullptr;
    if (!TIFFGetField(tif, tag, &count, &data) || !data)
        return {};
    return QByteArray(static_cast<const char*>(data), qsizetype(count));
}

std::optional<Resolution> resolutionOf(TIFF* tif) {
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y))
        return std::nullopt;
    if (!std::isfinite(x) || !std::isfinite(y) || x <= 0 || y <= 0)
        return std::nullopt;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    using Unit = Resolution::Unit;
    return Resolution{unit == RESUNIT_CENTIMETER ? Unit::Centimetre
                      : unit == RESUNIT_NONE     ? Unit::None
                                                 : Unit::Inch,
                      double(x), double(y)};
}

// The EXIF block that the file's tags make: its text tags of the picture
// and its EXIF and GPS directories.
QByteArray exifOf(TIFF* tif, const QByteArray& file) {
    ExifFields fields;
    uint64_t exif = 0, gps = 0;
    TIFFGetField(tif, TIFFTAG_EXIFIFD, &exif);
    TIFFGetField(tif, TIFFTAG_GPSIFD, &gps);
    if (!TIFFIsBigTIFF(tif)) // the directory reader knows classic TIFF only
        fields = readTiffExifDirectories(file, exif, gps);
    for (uint32_t tag : kDescriptiveTags) {
        const char* text = nullptr;
        if (TIFFGetField(tif, tag, &text) && text && *text) {
            const QByteArray value(text, qsizetype(std::strlen(text)) + 1); // with its zero
            fields.picture.push_back({uint16_t(tag), kTypeAscii, uint32_t(value.size()), value});
        }
    }
    return exifBlockOf(fields);
}

} // namespace

PhotoMetadata readTiffMetadata(const QByteArray& file) {
    PhotoMetadata found;
    try {
        const TiffFile tiff(file);
        TIFF* tif = tiff.tiff();
        found.icc = bytesTag(tif, TIFFTAG_ICCPROFILE);
        found.xmp = bytesTag(tif, TIFFTAG_XMLPACKET);
        found.iptc = bytesTag(tif, TIFFTAG_RICHTIFFIPTC);
        if (found.iptc.isEmpty())
            found.iptc = iptcOfResources(bytesTag(tif, TIFFTAG_PHOTOSHOP));
        found.resolution = resolutionOf(tif);
        found.exif = exifOf(tif, file);
    } catch (const Error&) {
        // libtiff cannot read the first directory: the loader says so.
    }
    return found;
}

} // namespace tessaly
