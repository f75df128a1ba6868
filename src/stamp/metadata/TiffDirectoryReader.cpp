#include "stamp/metadata/TiffDirectoryReader.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr uint16_t kInteroperabilityPointer = 0xA005;
constexpr int kMaxEntries = 1000; // far more than any EXIF directory has

// The byte size of one value of a TIFF type (1 to 13), 0 for an unknown one.
int typeSize(uint16_t type) {
    static constexpr int sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < std::size(sizes) ? sizes[type] : 0;
}

// The width of the numbers that a value of the type is made of.
int wordSize(uint16_t type) {
    return type == 5 || type == 10 ? 4 : typeSize(type);
}

bool isPointer(uint16_t tag) {
    return tag == 0x8769 || tag == 0x8825 || tag == kInteroperabilityPointer;
}

class Reader {
public:
    Reader(const QByteArray& file) : file_(file), motorola_(file.startsWith("MM")) {}

    uint64_t number(uint64_t at, int bytes) const {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            const uint8_t b = uint8_t(file_[qsizetype(at) + (motorola_ ? i : bytes - 1 - i)]);
            v = (v << 8) | b;
        }
        return v;
    }
    bool holds(uint64_t at, uint64_t bytes) const {
        return at <= uint64_t(file_.size()) && bytes <= uint64_t(file_.size()) - at;
    }
    // The values' bytes in Intel order.
    QByteArray intel(uint64_t at, uint64_t bytes, int word) const {
        QByteArray out = file_.mid(qsizetype(at), qsizetype(bytes));
        if (motorola_ && word > 1) {
            for (qsizetype i = 0; i + word <= out.size(); i += word)
                std::reverse(out.begin() + i, out.begin() + i + word);
        }
        return out;
    }

    // The directory's fields; the interoperability pointer's target, if
    // asked for, goes to interoperability.
    std::vector<ExifField> directory(uint64_t at, uint64_t* interoperability = nullptr) const {
        std::vector<ExifField> fields;
        if (at == 0 || !holds(at, 2))
            return fields;
        const int count = int(number(at, 2));
        if (count > kMaxEntries || !holds(at + 2, uint64_t(count) * 12))
            return fields;
        for (int i = 0; i < count; ++i)
            entry(at + 2 + uint64_t(i) * 12, fields, interoperability);
        return fields;
    }

private:
    void entry(uint64_t at, std::vector<ExifField>& fields, uint64_t* interoperability) const {
        const auto tag = uint16_t(number(at, 2));
        const auto type = uint16_t(number(at + 2, 2));
        const auto count = uint32_t(number(at + 4, 4));
        const uint64_t bytes = uint64_t(typeSize(type)) * count;
        if (tag == kInteroperabilityPointer && interoperability && count == 1)
            *interoperability = number(at + 8, 4);
        if (bytes == 0 || isPointer(tag))
            return;
        const uint64_t valueAt = bytes <= 4 ? at + 8 : number(at + 8, 4);
        if (holds(valueAt, bytes))
            fields.push_back({tag, type, count, intel(valueAt, bytes, wordSize(type))});
    }

    const QByteArray& file_;
    bool motorola_;
};

} // namespace

ExifFields readTiffExifDirectories(const QByteArray& file, uint64_t exifOffset,
                                   uint64_t gpsOffset) {
    const Reader reader(file);
    ExifFields fields;
    uint64_t interoperability = 0;
    fields.exif = reader.directory(exifOffset, &interoperability);
    fields.interoperability = reader.directory(interoperability);
    fields.gps = reader.directory(gpsOffset);
    return fields;
}

} // namespace tessaly
