#include "stamp/metadata/LibexifData.h"

#include "stamp/metadata/PhotoMetadata.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace tessaly {

namespace {

ExifData* newData() {
    ExifData* data = exif_data_new();
    if (!data)
        throw std::bad_alloc();
    exif_data_unset_option(data, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    return data;
}

} // namespace

bool startsWithTiffHeader(const QByteArray& block) {
    return block.startsWith(QByteArray("II*\0", 4)) || block.startsWith(QByteArray("MM\0*", 4));
}

LibexifData::LibexifData() : data_(newData()) {
    exif_data_set_byte_order(data_, EXIF_BYTE_ORDER_INTEL);
}

LibexifData::LibexifData(const QByteArray& block) : data_(newData()) {
    if (!startsWithTiffHeader(block) || block.size() > kMaxExifBlock)
        return;
    const QByteArray segment = QByteArray("Exif\0\0", 6) + block;
    exif_data_load_data(data_, reinterpret_cast<const unsigned char*>(segment.constData()),
                        unsigned(segment.size()));
}

LibexifData::~LibexifData() {
    exif_data_unref(data_);
}

bool LibexifData::hasEntries() const {
    for (ExifContent* content : data_->ifd) {
        if (content && content->count > 0)
            return true;
    }
    return false;
}

QByteArray LibexifData::save() const {
    if (!hasEntries() && !data_->data)
        return {};
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data_, &bytes, &size);
    QByteArray block;
    if (bytes && size > 6)
        block = QByteArray(reinterpret_cast<const char*>(bytes) + 6, qsizetype(size - 6));
    std::free(bytes);
    return block;
}

void LibexifData::put(ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned long components,
                      const QByteArray& data) {
    remove(ifd, tag);
    ExifMem* mem = exif_mem_new_default();
    ExifEntry* entry = mem ? exif_entry_new_mem(mem) : nullptr;
    void* copy = entry && !data.isEmpty() ? exif_mem_alloc(mem, ExifLong(data.size())) : nullptr;
    if (copy) {
        std::memcpy(copy, data.constData(), std::size_t(data.size()));
        entry->data = static_cast<unsigned char*>(copy);
        entry->size = unsigned(data.size());
        entry->tag = tag;
        entry->format = format;
        entry->components = components;
        exif_content_add_entry(data_->ifd[ifd], entry);
    }
    if (entry)
        exif_entry_unref(entry);
    if (mem)
        exif_mem_unref(mem);
    if (!copy && !data.isEmpty())
        throw std::bad_alloc();
}

void LibexifData::remove(ExifIfd ifd, ExifTag tag) {
    if (ExifEntry* entry = exif_content_get_entry(data_->ifd[ifd], tag))
        exif_content_remove_entry(data_->ifd[ifd], entry);
}

} // namespace tessaly
