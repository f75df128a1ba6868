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

// Writes the bytes to a temporary file beside `path`, flushes them to disk and
// renames the temporary file over `path`: readers see the old file or the new
// one, never a torn one. The temporary file's name is fixed, so callers hold
// the FileLock. Raises an Error with the system's text on failure.
void replaceFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace tessaly
