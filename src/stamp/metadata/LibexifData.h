#pragma once

#include <libexif/exif-data.h>
#include <QByteArray>

namespace tessaly {

// An EXIF block as libexif holds it, read as the file has it: unknown tags
// kept, nothing added or repaired; maker notes that libexif knows are read so
// that their inner offsets survive the block being written anew.
class LibexifData {
public:
    // An empty block, in Intel byte order.
    LibexifData();
    // The block from its TIFF header on; empty when it has none.
    explicit LibexifData(const QByteArray& block);
    ~LibexifData();
    LibexifData(const LibexifData&) = delete;
    LibexifData& operator=(const LibexifData&) = delete;

    ExifData* data() const { return data_; }
    ExifByteOrder order() const { return exif_data_get_byte_order(data_); }
    // Whether any directory holds an entry.
    bool hasEntries() const;
    // The block from its TIFF header on; empty when it holds nothing.
    QByteArray save() const;

    // Adds an entry to the directory (replacing one of the same tag) with
    // the given data, which is in the block's byte order.
    void put(ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned long components,
             const QByteArray& data);
    void remove(ExifIfd ifd, ExifTag tag);

private:
    ExifData* data_;
};

// The EXIF block's signature in a JPEG segment, and the TIFF header's two
// byte orders.
bool startsWithTiffHeader(const QByteArray& block);

} // namespace tessaly
