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
class FileReplacer {
public:
    // Raises "Cannot create file "%s". %s" with the path and the system's
    // reason when the file cannot be made there.
    explicit FileReplacer(const QString& path);
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

private:
    [[noreturn]] void fail(int err) const;
    void discard();

    QString path_;      // as the user chose it, for messages
    QByteArray target_; // the file that gets replaced (a link's target)
    QByteArray temporary_;
    int fd_ = -1;
};

} // namespace tessaly
