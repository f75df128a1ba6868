#include "platform/FileReplacer.h"

#include "platform/Error.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

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
int createTemporary(const QByteArray& target, QByteArray& name, unsigned mode) {
    const QByteArray base = folderOf(target) + "/." +
                            QFileInfo(QFile::decodeName(target)).fileName().toLocal8Bit().left(200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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
    if (faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    fchmod(fd, st.st_mode & 07777);
    return 0;
}

// The ways a folder refuses a new entry while its files may still be written.
bool refusesNewFiles(int err) {
    return err == EACCES || err == EPERM || err == ENOSPC || err == EDQUOT;
}

bool isRegularFile(const QByteArray& path) {
    struct stat st;
    return stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Makes sure the disk holds `size` bytes for the file before its old content
// is overwritten: by reserving them where the file system can, else by its
// free space plus the blocks the file already has.
int reserveRoom(int fd, std::uint64_t size) {
    struct stat st;
    if (size == 0 || fstat(fd, &st) != 0)
        return 0;
    if (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0)
        return 0;
    const int err = errno;
    if (err != EOPNOTSUPP && err != ENOSYS) {
        (void)ftruncate(fd, st.st_size); // gives back what was reserved past the end
        return err;
    }
    struct statvfs disk;
    if (fstatvfs(fd, &disk) != 0)
        return 0;
    const std::uint64_t room =
        std::uint64_t(disk.f_bavail) * disk.f_frsize + std::uint64_t(st.st_blocks) * 512;
    return room >= size ? 0 : ENOSPC;
}

void syncFolder(const QByteArray& path) {
    const int folder = open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

} // namespace

FileReplacer::FileReplacer(const QString& path, std::uint64_t size, unsigned newFileMode)
    : path_(path), target_(resolvedTarget(QFile::encodeName(path))) {
    fd_ = createTemporary(target_, temporary_, newFileMode);
    if (fd_ < 0) {
        const int refusal = errno;
        temporary_.clear();
        openInPlace(refusal, size);
        return;
    }
    if (const int err = checkExisting(target_, fd_)) {
        discard();
        fail(err);
    }
}

FileReplacer::~FileReplacer() {
    discard();
}

void FileReplacer::openInPlace(int refusal, std::uint64_t size) {
    if (!refusesNewFiles(refusal) || !isRegularFile(target_))
        fail(refusal);
    fd_ = open(target_.constData(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0)
        fail(errno);
    if (const int err = reserveRoom(fd_, size)) {
        discard();
        fail(err);
    }
}

void FileReplacer::fail(int err) const {
    throw Error(
        format("Cannot create file \"%s\". %s", {path_, systemErrorText(errorFromErrno(err))}));
}

void FileReplacer::failWrite() {
    discard();
    throw Error(QStringLiteral("Stream write error"));
}

void FileReplacer::discard() {
    if (fd_ < 0)
        return;
    close(std::exchange(fd_, -1));
    removeTemporary();
}

void FileReplacer::removeTemporary() const {
    if (!inPlace())
        unlink(temporary_.constData());
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
        if (n <= 0)
            failWrite();
        p += n;
        bytes -= std::size_t(n);
        // The end of what was written, for a file written in place.
        if (offset >= 0)
            offset += n;
        written_ =
            offset < 0 ? written_ + std::uint64_t(n) : std::max(written_, std::uint64_t(offset));
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
    // Written in place, a longer old file loses its tail only now.
    if (inPlace() && ftruncate(fd_, off_t(written_)) != 0)
        failWrite();
    // Delayed allocation can report a full disk only here.
    const int fd = std::exchange(fd_, -1);
    const bool onDisk = fsync(fd) == 0;
    if (close(fd) != 0 || !onDisk) {
        removeTemporary();
        throw Error(QStringLiteral("Stream write error"));
    }
    if (inPlace())
        return;
    if (rename(temporary_.constData(), target_.constData()) != 0) {
        const int err = errno;
        removeTemporary();
        fail(err);
    }
    // The rename itself reaches the disk with the folder.
    syncFolder(target_);
}

void replaceFile(const QString& path, const QByteArray& bytes, unsigned newFileMode) {
    FileReplacer file(path, std::uint64_t(bytes.size()), newFileMode);
    file.write(bytes.constData(), std::size_t(bytes.size()));
    file.commit();
}

} // namespace tessaly
