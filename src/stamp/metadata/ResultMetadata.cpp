#include "stamp/metadata/ResultMetadata.h"

#include "stamp/metadata/BigEndian.h"
#include "stamp/metadata/ExifEdit.h"
#include "stamp/metadata/IptcEdit.h"
#include "stamp/metadata/XmpEdit.h"

namespace tessaly {

namespace {

void leaveOutOversized(QByteArray& piece, qsizetype limit, const char* name, QStringList& notes) {
    if (piece.size() <= limit)
        return;
    notes << QStringLiteral("its %1 data (%2 bytes) does not fit in a JPEG file and is left out")
                 .arg(QLatin1String(name))
                 .arg(piece.size());
    piece.clear();
}

} // namespace

bool isRgbProfile(const QByteArray& icc) {
    // The header: the profile's length first, the data's colour space at 16,
    // the signature "acsp" at 36.
    return icc.size() >= 132 && bigEndianAt(icc, 0, 4) == uint64_t(icc.size()) &&
           icc.mid(16, 4) == "RGB " && icc.mid(36, 4) == "acsp";
}

PhotoMetadata metadataForResult(const PhotoMetadata& picture, QSize size, OutputFormat format,
                                QStringList& notes) {
    if (format == OutputFormat::Bmp)
        return {};
    PhotoMetadata result;
    result.exif = exifForResult(picture.exif, size);
    if (picture.exif.size() > kMaxExifBlock)
        notes << QStringLiteral("its EXIF data (%1 bytes) is larger than an EXIF block holds "
                                "and is left out")
                     .arg(picture.exif.size());
    else if (result.exif.isEmpty() && !picture.exif.isEmpty())
        notes << QStringLiteral("its EXIF data cannot be read and is left out");
    if (!picture.xmp.isEmpty())
        result.xmp = xmpForResult(picture.xmp, size);
    result.iptc = iptcForResult(picture.iptc);
    if (isRgbProfile(picture.icc))
        result.icc = picture.icc;
    else if (!picture.icc.isEmpty())
        notes << QStringLiteral("its ICC profile does not describe RGB pixels and is left out");
    result.resolution = picture.resolution ? picture.resolution : exifResolution(picture.exif);
    if (format == OutputFormat::Jpeg) {
        leaveOutOversized(result.exif, kMaxJpegExif, "EXIF", notes);
        leaveOutOversized(result.xmp, kMaxJpegXmp, "XMP", notes);
        leaveOutOversized(result.icc, kMaxJpegIcc, "ICC profile", notes);
    }
    return result;
}

} // namespace tessaly
