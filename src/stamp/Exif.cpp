#include "stamp/Exif.h"

#include <cstdint>
#include <QFile>

namespace tessaly {

namespace {

// Reads exact byte ranges of a file; a short read is an empty answer.
class FileBytes {
public:
    explicit FileBytes(const QString& path) : file_(path) {
        open_ = file_.open(QIODevice::ReadOnly);
    }
    bool isOpen() const { return open_; }
    qint64 size() const { return file_.size(); }
    QByteArray at(qint64 offset, qint64 bytes) {
        if (offset < 0 || bytes < 0 || offset > size() || bytes > size() - offset ||
            !file_.seek(offset))
            return {};
        QByteArray data = file_.read(bytes);
        return data.size() == bytes ? data : QByteArray();
    }

private:
    QFile file_;
    bool open_ = false;
};

uint32_t bigEndian(const QByteArray& b, int at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | uint8_t(b[at + i]);
    return v;
}

// An EXIF block begins with a TIFF header in either byte order.
QByteArray checkedBlock(const QByteArray& block) {
    const bool tiff =
        block.startsWith(QByteArray("II*\0", 4)) || block.startsWith(QByteArray("MM\0*", 4));
    return tiff && block.size() <= kMaxExifBytes ? block : QByteArray();
}

// Walks the segments in front of the scan data.
QByteArray exifOfJpeg(FileBytes& file) {
    const QByteArray exifHeader("Exif\0\0", 6);
    qint64 at = 2;
    for (int segment = 0; segment < 4096; ++segment) {
        const QByteArray head = file.at(at, 4);
        if (head.size() < 4 || uint8_t(head[0]) != 0xFF)
            return {};
        const uint8_t marker = uint8_t(head[1]);
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD8) ||
            marker == 0x01)
            return {}; // scan data, end, or a marker without a length: past the headers
        const uint32_t length = bigEndian(head, 2, 2);
        if (length < 2)
            return {};
        if (marker == 0xE1 && length >= 2 + 6) {
            const QByteArray payload = file.at(at + 4, length - 2);
            if (payload.startsWith(exifHeader))
                return checkedBlock(payload.mid(6));
        }
        at += 2 + length;
    }
    return {};
}

QByteArray exifOfPng(FileBytes& file) {
    qint64 at = 8;
    while (true) {
        const QByteArray head = file.at(at, 8);
        if (head.size() < 8)
            return {};
        const uint32_t length = bigEndian(head, 0, 4);
        const QByteArray type = head.mid(4, 4);
        if (length > 0x7FFFFFFFu || type == "IEND")
            return {};
        if (type == "eXIf")
            return length <= uint32_t(kMaxExifBytes) ? checkedBlock(file.at(at + 8, length))
                                                     : QByteArray();
        at += 12 + qint64(length); // length, type, data, CRC
    }
}

} // namespace

QByteArray readExifBlock(const QString& path) {
    FileBytes file(path);
    if (!file.isOpen())
        return {};
    const QByteArray signature = file.at(0, 8);
    if (signature.startsWith("\xFF\xD8"))
        return exifOfJpeg(file);
    if (signature == QByteArray("\x89PNG\r\n\x1A\n", 8))
        return exifOfPng(file);
    return {};
}

} // namespace tessaly
