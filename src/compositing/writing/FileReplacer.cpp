#include "compositing/writing/FileReplacer.h"

#include "platform/Error.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

// Replacing a symbolic link's name would cut the link; write its target.
QByteArray resolvedTarget(const QByteArray& path) {
    struct stat st;
    if (lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.constData(), resolved))
            return QByteArray(resolved);
    }
    return path;
}

QByteArray folderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// A new file beside the target, created exclusively so that nothing else is
// ever overwritten; its mode follows the umask as a plain create's would.
int createTemporary(const QByteArray& target, QByteArray& name) {
    const QByteArray base = folderOf(target) + "/." +
                            QFileInfo(QFile::decodeName(target)).fileName().toLocal8Bit().left(200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// An existing file keeps its permissions; one we may not write stays as it is.
int checkExisting(const QByteArray& target, int fd) {
    struct stat st;
    if (stat(target.constData(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (access(target.constData(), W_OK) != 0)
        return errno;
    fchmod(fd, st.st_mode & 07777);
    return 0;
}

} // namespace

FileReplacer::FileReplacer(const QString& path)
    : path_(path), target_(resolvedTarget(QFile::encodeName(path))) {
    fd_ = createTemporary(target_, temporary_);
    if (fd_ < 0)
        fail(errno);
    if (const int err = checkExisting(target_, fd_)) {
        discard();
        fail(err);
    }
}

FileReplacer::~FileReplacer() {
    discard();
}

void FileReplacer::fail(int err) const {
    throw Error(
        format("Cannot create file \"%s\". %s", {path_, systemErrorText(errorFromErrno(err))}));
}

void FileReplacer::discard() {
    if (fd_ < 0)
        return;
    close(fd_);
    unlink(temporary_.constData());
    fd_ = -1;
}

void FileReplacer::write(const void* data, std::size_t bytes) {
    writeAt(-1, data, bytes);
}

// A negative offset writes at the file's position.
void FileReplacer::writeAt(int64_t offset, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t n = offset < 0 ? ::write(fd_, p, bytes) : ::pwrite(fd_, p, bytes, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            discard();
            throw Error(QStringLiteral("Stream write error"));
        }
        p += n;
        bytes -= std::size_t(n);
        if (offset >= 0)
            offset += n;
    }
}

void FileReplacer::flushSoon(int64_t offset, std::size_t bytes) {
#ifdef SYNC_FILE_RANGE_WRITE
    sync_file_range(fd_, offset, off64_t(bytes), SYNC_FILE_RANGE_WRITE); // advice only
#else
    (void)offset;
    (void)bytes;
#endif
}

void FileReplacer::commit() {
    // Delayed allocation can report a full disk only here.
    if (fsync(fd_) != 0 || close(fd_) != 0) {
        fd_ = -1;
        unlink(temporary_.constData());
        throw Error(QStringLiteral("Stream write error"));
    }
    fd_ = -1;
    if (rename(temporary_.constData(), target_.constData()) != 0) {
        const int err = errno;
        unlink(temporary_.constData());
        fail(err);
    }
    // The rename itself reaches the disk with the folder.
    const int folder = open(folderOf(target_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

} // namespace tessaly
