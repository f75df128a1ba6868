#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Holds an exclusive lock on a lock file beside the data file for as long as
// it lives. The data file itself is replaced by rename on every write, so it
// cannot carry the lock. Raises an Error with the system's text on failure.
class FileLock {
public:
    explicit FileLock(const QString& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_ = -1;
};

// Reads at most limit + 1 bytes, so that an oversized file is seen as such
// without being read whole. A missing or unreadable file gives nothing.
QByteArray readFileBounded(const QString& path, qsizetype limit);

} // namespace tessaly
