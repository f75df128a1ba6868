#include "platform/ElfSection.h"

#include "platform/SystemError.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace tessaly {

namespace {

struct Section {
    uint64_t offset = 0;
    uint64_t size = 0;
    uint32_t nameOffset = 0;
};

// Bounds-checked little-endian reads from an in-memory header table.
struct Reader {
    const QByteArray& data;
    bool ok = true;
    uint64_t read(uint64_t at, int bytes) {
        if (at > uint64_t(data.size()) || uint64_t(data.size()) - at < uint64_t(bytes)) {
            ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | uint8_t(data[qsizetype(at + i)]);
        return v;
    }
};

std::optional<QByteArray> readAt(QFile& file, uint64_t offset, uint64_t size) {
    if (offset > uint64_t(file.size()) || uint64_t(file.size()) - offset < size)
        return std::nullopt;
    if (!file.seek(qint64(offset)))
        return std::nullopt;
    QByteArray bytes = file.read(qint64(size));
    if (uint64_t(bytes.size()) != size)
        return std::nullopt;
    return bytes;
}

std::optional<Section> sectionHeader(QFile& file, bool is64, uint64_t tableOffset,
                                     uint32_t entrySize, uint32_t index) {
    auto raw = readAt(file, tableOffset + uint64_t(index) * entrySize, entrySize);
    if (!raw)
        return std::nullopt;
    Reader r{*raw};
    Section s;
    s.nameOffset = uint32_t(r.read(0, 4));
    s.offset = is64 ? r.read(24, 8) : r.read(16, 4);
    s.size = is64 ? r.read(32, 8) : r.read(20, 4);
    if (!r.ok)
        return std::nullopt;
    return s;
}

std::optional<QByteArray> failWith(uint32_t code) {
    setLastError(code);
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> readElfSection(const QString& path, const char* sectionName,
                                         uint32_t maxSize) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return failWith(errno ? errorFromErrno(errno) : kErrorFileNotFound);
    auto header = readAt(file, 0, 64);
    if (!header || !header->startsWith("\x7f" "ELF") || (*header)[5] != 1)
        return failWith(kErrorBadExeFormat);
    const bool is64 = (*header)[4] == 2;
    Reader h{*header};
    const uint64_t tableOffset = is64 ? h.read(0x28, 8) : h.read(0x20, 4);
    const uint32_t entrySize = uint32_t(is64 ? h.read(0x3A, 2) : h.read(0x2E, 2));
    const uint32_t count = uint32_t(is64 ? h.read(0x3C, 2) : h.read(0x30, 2));
    const uint32_t namesIndex = uint32_t(is64 ? h.read(0x3E, 2) : h.read(0x32, 2));
    if (!h.ok || entrySize < (is64 ? 64u : 40u) || namesIndex >= count)
        return failWith(kErrorBadExeFormat);
    auto names = sectionHeader(file, is64, tableOffset, entrySize, namesIndex);
    if (!names || names->size > (1u << 24))
        return failWith(kErrorBadExeFormat);
    auto nameTable = readAt(file, names->offset, names->size);
    if (!nameTable)
        return failWith(kErrorBadExeFormat);
    const size_t wantedLength = std::strlen(sectionName);
    for (uint32_t i = 0; i < count; ++i) {
        auto s = sectionHeader(file, is64, tableOffset, entrySize, i);
        if (!s)
            return failWith(kErrorBadExeFormat);
        if (s->nameOffset >= uint64_t(nameTable->size()) ||
            uint64_t(nameTable->size()) - s->nameOffset <= wantedLength)
            continue;
        const char* name = nameTable->constData() + s->nameOffset;
        if (std::memcmp(name, sectionName, wantedLength + 1) != 0)
            continue;
        if (s->size == 0 || s->size > maxSize)
            return failWith(kErrorResourceDataNotFound);
        auto bytes = readAt(file, s->offset, s->size);
        if (!bytes)
            return failWith(kErrorBadExeFormat);
        return bytes;
    }
    return failWith(kErrorResourceTypeNotFound);
}

} // namespace tessaly
