#include "stamp/metadata/ExifEdit.h"

#include "stamp/metadata/LibexifData.h"

#include <cstdlib>
#include <libexif/exif-utils.h>
#include <vector>

namespace tessaly {

namespace {

QByteArray shortBytes(ExifByteOrder order, ExifShort value) {
    QByteArray bytes(2, '\0');
    exif_set_short(reinterpret_cast<unsigned char*>(bytes.data()), order, value);
    return bytes;
}

QByteArray longBytes(ExifByteOrder order, ExifLong value) {
    QByteArray bytes(4, '\0');
    exif_set_long(reinterpret_cast<unsigned char*>(bytes.data()), order, value);
    return bytes;
}

// A size tag set to the value as a LONG, which either size allows and
// which libtiff insists on.
void putSize(LibexifData& exif, ExifIfd ifd, ExifTag tag, int value) {
    exif.put(ifd, tag, EXIF_FORMAT_LONG, 1, longBytes(exif.order(), ExifLong(value)));
}

void dropThumbnail(LibexifData& exif) {
    ExifData* data = exif.data();
    std::free(data->data);
    data->data = nullptr;
    data->size = 0;
    ExifContent* thumbnail = data->ifd[EXIF_IFD_1];
    while (thumbnail->count > 0)
        exif_content_remove_entry(thumbnail, thumbnail->entries[thumbnail->count - 1]);
}

bool holdsJpeg(const ExifEntry* entry) {
    if (!entry->data)
        return false;
    return QByteArray::fromRawData(reinterpret_cast<const char*>(entry->data),
                                   qsizetype(entry->size))
        .contains("\xFF\xD8\xFF");
}

void dropEmbeddedPictures(LibexifData& exif) {
    for (ExifContent* content : exif.data()->ifd) {
        std::vector<ExifEntry*> pictures;
        for (unsigned i = 0; i < content->count; ++i) {
            if (holdsJpeg(content->entries[i]))
                pictures.push_back(content->entries[i]);
        }
        for (ExifEntry* entry : pictures)
            exif_content_remove_entry(content, entry);
    }
}

void setSize(LibexifData& exif, QSize size) {
    ExifData* data = exif.data();
    for (const auto& [tag, value] : {std::pair{EXIF_TAG_IMAGE_WIDTH, size.width()},
                                     std::pair{EXIF_TAG_IMAGE_LENGTH, size.height()}}) {
        if (exif_content_get_entry(data->ifd[EXIF_IFD_0], tag))
            putSize(exif, EXIF_IFD_0, tag, value);
    }
    // Every EXIF directory of a compressed picture states its size.
    if (data->ifd[EXIF_IFD_EXIF]->count > 0) {
        putSize(exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, size.width());
        putSize(exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, size.height());
    }
}

double rationalValue(const ExifEntry* entry, ExifByteOrder order) {
    if (!entry || entry->format != EXIF_FORMAT_RATIONAL || entry->components < 1 || entry->size < 8)
        return 0;
    const ExifRational r = exif_get_rational(entry->data, order);
    return r.denominator == 0 ? 0 : double(r.numerator) / r.denominator;
}

} // namespace

QByteArray exifForResult(const QByteArray& block, QSize size) {
    LibexifData exif(block);
    if (!exif.hasEntries())
        return {};
    if (exif_content_get_entry(exif.data()->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION))
        exif.put(EXIF_IFD_0, EXIF_TAG_ORIENTATION, EXIF_FORMAT_SHORT, 1,
                 shortBytes(exif.order(), 1));
    dropThumbnail(exif);
    dropEmbeddedPictures(exif);
    setSize(exif, size);
    return exif.save();
}

std::optional<Resolution> exifResolution(const QByteArray& block) {
    LibexifData exif(block);
    ExifContent* first = exif.data()->ifd[EXIF_IFD_0];
    const double x =
        rationalValue(exif_content_get_entry(first, EXIF_TAG_X_RESOLUTION), exif.order());
    const double y =
        rationalValue(exif_content_get_entry(first, EXIF_TAG_Y_RESOLUTION), exif.order());
    if (x <= 0 || y <= 0)
        return std::nullopt;
    const ExifEntry* unit = exif_content_get_entry(first, EXIF_TAG_RESOLUTION_UNIT);
    const int code = unit && unit->format == EXIF_FORMAT_SHORT && unit->size >= 2
                         ? exif_get_short(unit->data, exif.order())
                         : 2; // inches, the tag's default
    using Unit = Resolution::Unit;
    return Resolution{code == 3 ? Unit::Centimetre : code == 1 ? Unit::None : Unit::Inch, x, y};
}

} // namespace tessaly
