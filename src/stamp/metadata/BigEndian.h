#pragma once

#include <cstdint>
#include <QByteArray>

namespace tessaly {

// Whole numbers of 1 to 8 bytes, the most significant first, as JPEG and PNG
// files, IPTC data, Photoshop's resources and ICC profiles store them.

// The number at `at`; the caller has made sure that its bytes are there.
inline uint64_t bigEndianAt(const QByteArray& bytes, qsizetype at, int count) {
    uint64_t v = 0;
    for (int i = 0; i < count; ++i)
        v = (v << 8) | uint8_t(bytes[at + i]);
    return v;
}

inline QByteArray bigEndianBytes(uint64_t value, int count) {
    QByteArray out(count, '\0');
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        out[i] = char(value & 0xFF);
    return out;
}

} // namespace tessaly
