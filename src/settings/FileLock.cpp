#include "settings/FileLock.h"

#include "platform/Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFile>
#include <sys/file.h>
#include <unistd.h>

namespace tessaly {

namespace {

[[noreturn]] void raiseErrno(const char* what, const QString& path) {
    const int err = errno;
    throw Error(format("%s \"%s\": %s", {QString::fromUtf8(what), path,
                                         QString::fromLocal8Bit(std::strerror(err))}));
}

} // namespace

FileLock::FileLock(const QString& lockPath)
    : fd_(::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0)
        raiseErrno("Cannot open", lockPath);
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

} // namespace tessaly
