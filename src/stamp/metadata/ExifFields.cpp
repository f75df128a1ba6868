#include "stamp/metadata/ExifFields.h"

#include "stamp/metadata/LibexifData.h"

namespace tessaly {

namespace {

std::vector<ExifField> fieldsOf(const ExifContent* content) {
    std::vector<ExifField> fields;
    for (unsigned i = 0; i < content->count; ++i) {
        const ExifEntry* e = content->entries[i];
        const uint64_t size = uint64_t(exif_format_get_size(e->format)) * e->components;
        if (!e->data || size == 0 || size > e->size)
            continue;
        fields.push_back({uint16_t(e->tag), uint16_t(e->format), uint32_t(e->components),
                          QByteArray(reinterpret_cast<const char*>(e->data), qsizetype(size))});
    }
    return fields;
}

void putAll(LibexifData& exif, ExifIfd ifd, const std::vector<ExifField>& fields) {
    for (const ExifField& f : fields) {
        if (exif_format_get_size(ExifFormat(f.type)) > 0)
            exif.put(ifd, ExifTag(f.tag), ExifFormat(f.type), f.count, f.data);
    }
}

} // namespace

ExifFields exifFields(const QByteArray& block) {
    LibexifData exif(block);
    exif_data_set_byte_order(exif.data(), EXIF_BYTE_ORDER_INTEL); // turns every value
    ExifData* d = exif.data();
    return {fieldsOf(d->ifd[EXIF_IFD_0]), fieldsOf(d->ifd[EXIF_IFD_EXIF]),
            fieldsOf(d->ifd[EXIF_IFD_GPS]), fieldsOf(d->ifd[EXIF_IFD_INTEROPERABILITY])};
}

QByteArray exifBlockOf(const ExifFields& fields) {
    LibexifData exif; // in Intel order, as the fields' values are
    putAll(exif, EXIF_IFD_0, fields.picture);
    putAll(exif, EXIF_IFD_EXIF, fields.exif);
    putAll(exif, EXIF_IFD_GPS, fields.gps);
    putAll(exif, EXIF_IFD_INTEROPERABILITY, fields.interoperability);
    return exif.save();
}

} // namespace tessaly
