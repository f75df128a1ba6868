#pragma once

#include <cstdint>
#include <QByteArray>
#include <QString>

namespace tessaly {

// The whole content of a file, read with the operating system's own calls so
// that a failure carries the system's reason: "Cannot open file "%s". %s".
// Files longer than maxBytes are refused before anything is read.
QByteArray readPictureFile(const QString& path, int64_t maxBytes);

} // namespace tessaly
