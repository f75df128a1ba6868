#include "settings/AtomicFile.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFileInfo>
#include <sys/file.h>
#include <unistd.h>

namespace tessaly {

namespace {

[[noreturn]] void raiseErrno(const char* what, const QString& path) {
    const int err = errno;
    throw Error(format("%s \"%s\": %s", {QString::fromUtf8(what), path,
                                         QString::fromLocal8Bit(std::strerror(err))}));
}

int openOrRaise(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600);
    if (fd < 0)
        raiseErrno("Cannot open", path);
    return fd;
}

void writeAll(int fd, const QByteArray& bytes, const QString& path) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            raiseErrno("Cannot write", path);
        p += n;
        left -= n;
    }
}

// Makes the rename itself durable.
void syncDirectory(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileLock::FileLock(const QString& lockPath) : fd_(openOrRaise(lockPath, O_RDWR | O_CREAT)) {
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            raiseErrno("Cannot lock", lockPath);
        }
    }
}

FileLock::~FileLock() {
    ::close(fd_); // closing releases the lock
}

QByteArray readFileBounded(const QString& path, qsizetype limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(limit + 1);
}

void replaceFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString temp = path + QStringLiteral(".tmp");
    const int fd = openOrRaise(temp, O_WRONLY | O_CREAT | O_TRUNC);
    try {
        writeAll(fd, bytes, temp);
        if (::fsync(fd) != 0)
            raiseErrno("Cannot write", temp);
    } catch (...) {
        ::close(fd);
        ::unlink(QFile::encodeName(temp).constData());
        throw;
    }
    if (::close(fd) != 0)
        raiseErrno("Cannot write", temp);
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        raiseErrno("Cannot replace", path);
    syncDirectory(path);
}

} // namespace tessaly
