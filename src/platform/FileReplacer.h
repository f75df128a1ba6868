#pragma once

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QString>

namespace tessaly {

// Writes a file so that its name only ever holds a whole file: the data goes
// to a temporary file in the same folder, which replaces the chosen name only
// once it is complete and on disk. A failed or abandoned write leaves any
// earlier file of that name as it was and no temporary file behind.
//
// A folder that takes no new file (no write right, no free entry) cannot hold
// the temporary file; an existing, writable file there is then written in
// place, once the disk is known to have room for `size` bytes. Only a failure
// of the disk itself part-way can then spoil the earlier file.
class FileReplacer {
public:
    // `size` is the number of bytes that will be written. New files get
    // `newFileMode` less the umask; an existing file keeps its permissions.
    // Raises "Cannot create file "%s". %s" with the path and the system's
    // reason when the file cannot be made there.
    FileReplacer(const QString& path, std::uint64_t size, unsigned newFileMode = 0666);
    ~FileReplacer();
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    // Raises "Stream write error" when not all bytes can be written.
    void write(const void* data, std::size_t bytes);
    // The same at a place in the file, for a file written out of order.
    void writeAt(int64_t offset, const void* data, std::size_t bytes);
    // Asks the system to start putting these bytes on disk now rather than at
    // commit, so that commit has less to wait for.
    void flushSoon(int64_t offset, std::size_t bytes);
    // Flushes to disk and puts the file in place under its name.
    void commit();
    // Whether the earlier file itself is written (its folder takes no new
    // file): a caller that may still fail should then write nothing until it
    // cannot.
    bool writesInPlace() const { return inPlace(); }

private:
    void openInPlace(int refusal, std::uint64_t size);
    [[noreturn]] void fail(int err) const;
    [[noreturn]] void failWrite();
    void discard();
    void removeTemporary() const;
    bool inPlace() const { return temporary_.isEmpty(); }

    QString path_;      // as the user chose it, for messages
    QByteArray target_; // the file that gets replaced (a link's target)
    QByteArray temporary_;
    std::uint64_t written_ = 0;
    int fd_ = -1;
};

// The whole of `bytes` as the file `path`, through a FileReplacer.
void replaceFile(const QString& path, const QByteArray& bytes, unsigned newFileMode = 0666);

} // namespace tessaly
