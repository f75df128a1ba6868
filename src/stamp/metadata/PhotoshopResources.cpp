#include "stamp/metadata/PhotoshopResources.h"

#include "stamp/metadata/BigEndian.h"

namespace tessaly {

namespace {

constexpr uint16_t kIptcResource = 0x0404;

} // namespace

QByteArray iptcOfResources(const QByteArray& resources) {
    qsizetype at = 0;
    while (resources.size() - at >= 12 && resources.mid(at, 4) == "8BIM") {
        const uint16_t id = uint16_t(bigEndianAt(resources, at + 4, 2));
        // The name: a length byte and its characters, padded to an even count.
        const qsizetype nameBytes = (1 + qsizetype(uint8_t(resources[at + 6])) + 1) & ~qsizetype(1);
        const qsizetype sizeAt = at + 6 + nameBytes;
        if (resources.size() - sizeAt < 4)
            return {};
        const qsizetype size = qsizetype(bigEndianAt(resources, sizeAt, 4));
        const qsizetype dataAt = sizeAt + 4;
        if (size > resources.size() - dataAt)
            return {};
        if (id == kIptcResource)
            return resources.mid(dataAt, size);
        at = dataAt + size + (size & 1);
    }
    return {};
}

QByteArray resourcesWithIptc(const QByteArray& iptc) {
    QByteArray block = QByteArray("8BIM") + bigEndianBytes(kIptcResource, 2) +
                       QByteArray(2, '\0') // an empty name, padded
                       + bigEndianBytes(uint32_t(iptc.size()), 4) + iptc;
    if (iptc.size() & 1)
        block += '\0';
    return block;
}

} // namespace tessaly
