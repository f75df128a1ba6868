#pragma once

#include <cstdint>
#include <QByteArray>
#include <vector>

namespace tessaly {

// One entry of an EXIF directory as TIFF stores it: its tag, TIFF type code,
// count of values and the values' bytes in Intel (little-endian) order.
struct ExifField {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    QByteArray data;
};

// The directories of an EXIF block that describe the main picture (the
// thumbnail's is never wanted). The pointers between them are not fields:
// whoever lays the directories out makes them.
struct ExifFields {
    std::vector<ExifField> picture, exif, gps, interoperability;
};

// The fields of an EXIF block (from its TIFF header on), as libexif reads it.
ExifFields exifFields(const QByteArray& block);

// An EXIF block (from its TIFF header on) that holds the fields, written by
// libexif; empty when there are none.
QByteArray exifBlockOf(const ExifFields& fields);

} // namespace tessaly
