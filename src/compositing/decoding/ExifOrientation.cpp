#include "compositing/decoding/ExifOrientation.h"

#include "compositing/picture/Orientation.h"

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

namespace tessaly {

namespace {

struct ExifHandle {
    ExifData* data = exif_data_new();
    ~ExifHandle() {
        if (data)
            exif_data_unref(data);
    }
};

} // namespace

int exifOrientation(const uint8_t* block, std::size_t size) {
    if (!block || size < 6 || size > 0xFFFF)
        return 1;
    ExifHandle exif;
    if (!exif.data)
        return 1;
    // Read as the file has it: no repairs, no rewriting of maker notes.
    exif_data_unset_option(exif.data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(exif.data, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(exif.data, block, unsigned(size));
    // Only the main picture's directory counts; the thumbnail has its own.
    ExifEntry* entry = exif_content_get_entry(exif.data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
        entry->size < 2)
        return 1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif.data));
    return isOrientation(value) ? value : 1;
}

} // namespace tessaly
