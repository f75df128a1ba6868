#include "stamp/TiffExifDirectories.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr uint16_t kInteroperabilityPointer = 0xA005;
constexpr uint16_t kTypeLong = 4;

QByteArray intel(uint32_t v, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i, v >>= 8)
        out[i] = char(v & 0xFF);
    return out;
}

// Appends one directory at the end of out (at file offset base + its size),
// its long values after it, and returns the directory's offset.
uint32_t appendDirectory(std::vector<ExifField> fields, uint32_t base, QByteArray& out) {
    std::stable_sort(fields.begin(), fields.end(),
                     [](const ExifField& a, const ExifField& b) { return a.tag < b.tag; });
    if (out.size() & 1)
        out += '\0'; // directories start on a word boundary
    const uint32_t start = base + uint32_t(out.size());
    uint32_t valueAt = start + 2 + 12 * uint32_t(fields.size()) + 4;
    QByteArray entries = intel(uint32_t(fields.size()), 2), values;
    for (const ExifField& f : fields) {
        entries += intel(f.tag, 2) + intel(f.type, 2) + intel(f.count, 4);
        if (f.data.size() <= 4) {
            entries += f.data + QByteArray(4 - f.data.size(), '\0');
            continue;
        }
        entries += intel(valueAt, 4);
        const QByteArray value = f.data.size() & 1 ? f.data + '\0' : f.data;
        values += value;
        valueAt += uint32_t(value.size());
    }
    out += entries + intel(0, 4) + values; // no next directory
    return start;
}

} // namespace

TiffExifDirectories layOutExifDirectories(const ExifFields& fields, uint32_t base) {
    TiffExifDirectories laid;
    if (!fields.exif.empty() || !fields.interoperability.empty()) {
        std::vector<ExifField> exif = fields.exif;
        if (!fields.interoperability.empty()) {
            // Laid out first, so that the EXIF directory can point to it.
            const uint32_t at = appendDirectory(fields.interoperability, base, laid.bytes);
            exif.push_back({kInteroperabilityPointer, kTypeLong, 1, intel(at, 4)});
        }
        laid.exif = appendDirectory(std::move(exif), base, laid.bytes);
    }
    if (!fields.gps.empty())
        laid.gps = appendDirectory(fields.gps, base, laid.bytes);
    return laid;
}

} // namespace tessaly
