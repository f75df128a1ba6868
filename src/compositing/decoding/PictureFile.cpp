#include "compositing/decoding/PictureFile.h"

#include "platform/Error.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

QString reason(int err) {
    return systemErrorText(errorFromErrno(err));
}

// Closes the descriptor on every way out, keeping errno of the failure.
struct FileHandle {
    int fd;
    ~FileHandle() {
        if (fd >= 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
        }
    }
};

void readAll(int fd, QByteArray& data, const QString& path) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::read(fd, data.data() + done, std::size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(format("Cannot read file \"%s\". %s", {path, reason(errno)}));
        if (n == 0)
            break; // the file became shorter while we read it
        done += n;
    }
    data.truncate(done);
}

} // namespace

QByteArray readPictureFile(const QString& path, int64_t maxBytes) {
    const QByteArray native = QFile::encodeName(path);
    FileHandle file{::open(native.constData(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0)
        throw Error(format("Cannot open file \"%s\". %s", {path, reason(errno)}));
    if (S_ISDIR(info.st_mode))
        throw Error(format("Cannot open file \"%s\". %s", {path, reason(EISDIR)}));
    if (info.st_size > maxBytes)
        throw Error(
            format("Cannot load file \"%s\": at %s MB it is larger than any picture "
                   "this program can hold (%s MB)",
                   {path, QString::number(info.st_size >> 20), QString::number(maxBytes >> 20)}));
    QByteArray data;
    data.resize(qsizetype(info.st_size));
    readAll(file.fd, data, path);
    return data;
}

} // namespace tessaly
