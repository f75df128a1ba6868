#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaly {

// Reads one named section of an ELF file (32- or 64-bit, little-endian).
// Sets the last error (see SystemError.h) and returns nothing when the file
// cannot be read, is no ELF file, or has no such section. Every offset and
// size is checked against the file before it is used.
std::optional<QByteArray> readElfSection(const QString& path, const char* sectionName,
                                         uint32_t maxSize);

} // namespace tessaly
