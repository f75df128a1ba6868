#include "platform/VersionResource.h"

#include "platform/ElfSection.h"
#include "platform/SystemError.h"

#include <QStringList>

#include <cstring>

namespace tessaly {

namespace {

constexpr const char* kSectionName = "vs_version_info";
constexpr uint32_t kMaxBlock = 0xFFFF; // a block's length is a 16-bit field
constexpr uint32_t kTail = 4;          // zero bytes after the block: every text ends

uint32_t align4(uint32_t v) {
    return (v + 3u) & ~3u;
}

uint16_t word(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

// One node of the block: [start, end) holds its header, key, value and children.
struct Node {
    uint32_t start = 0, end = 0;
    uint32_t keyStart = 0, keyEnd = 0; // UTF-16 key without its NUL
    uint32_t valueStart = 0, valueBytes = 0, valueLength = 0;
    uint32_t childrenStart = 0;
};

bool parseNode(const uint8_t* block, uint32_t start, uint32_t limit, Node& n) {
    if (limit < start || limit - start < 6)
        return false;
    const uint32_t length = word(block + start);
    if (length < 6 || length > limit - start)
        return false;
    n.start = start;
    n.end = start + length;
    n.valueLength = word(block + start + 2);
    const bool text = word(block + start + 4) == 1;
    n.keyStart = start + 6;
    uint32_t p = n.keyStart;
    while (p + 1 < n.end && word(block + p) != 0)
        p += 2;
    if (p + 1 >= n.end)
        return false;
    n.keyEnd = p;
    n.valueStart = align4(p + 2);
    n.valueBytes = text ? n.valueLength * 2 : n.valueLength;
    if (n.valueStart > n.end || n.valueBytes > n.end - n.valueStart)
        return false;
    n.childrenStart = align4(n.valueStart + n.valueBytes);
    return true;
}

bool keyMatches(const uint8_t* block, const Node& n, const QString& key) {
    const QString nodeKey = QString::fromUtf16(reinterpret_cast<const char16_t*>(block + n.keyStart),
                                               (n.keyEnd - n.keyStart) / 2);
    return nodeKey.compare(key, Qt::CaseInsensitive) == 0;
}

bool findChild(const uint8_t* block, const Node& parent, const QString& key, Node& found) {
    for (uint32_t at = parent.childrenStart; at < parent.end;) {
        Node child;
        if (!parseNode(block, at, parent.end, child))
            return false;
        if (keyMatches(block, child, key)) {
            found = child;
            return true;
        }
        at = align4(child.end);
    }
    return false;
}

} // namespace

uint32_t GetFileVersionInfoSizeW(const QString& path, uint32_t* handle) {
    if (handle)
        *handle = 0;
    auto block = readElfSection(path, kSectionName, kMaxBlock);
    if (!block)
        return 0;
    return align4(uint32_t(block->size())) + kTail;
}

bool GetFileVersionInfoW(const QString& path, uint32_t, uint32_t size, void* data) {
    auto block = readElfSection(path, kSectionName, kMaxBlock);
    if (!block)
        return false;
    Node root;
    const auto* bytes = reinterpret_cast<const uint8_t*>(block->constData());
    if (uint32_t(block->size()) + kTail > size || !parseNode(bytes, 0, uint32_t(block->size()), root)) {
        setLastError(kErrorResourceDataNotFound);
        return false;
    }
    std::memset(data, 0, size);
    std::memcpy(data, bytes, root.end);
    return true;
}

bool VerQueryValueW(const void* block, const QString& subBlock, const void** buffer,
                    uint32_t* length) {
    const auto* bytes = static_cast<const uint8_t*>(block);
    Node node;
    if (!block || !parseNode(bytes, 0, word(bytes), node)) {
        setLastError(kErrorResourceTypeNotFound);
        return false;
    }
    const QStringList keys = subBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& key : keys) {
        if (!findChild(bytes, node, key, node)) {
            setLastError(kErrorResourceTypeNotFound);
            return false;
        }
    }
    if (buffer)
        *buffer = bytes + node.valueStart;
    if (length)
        *length = node.valueLength;
    return true;
}

} // namespace tessaly
