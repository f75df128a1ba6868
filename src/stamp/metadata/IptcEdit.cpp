#include "stamp/metadata/IptcEdit.h"

#include "stamp/metadata/BigEndian.h"

namespace tessaly {

namespace {

constexpr uint8_t kTagMarker = 0x1C;

bool isPreview(uint8_t record, uint8_t dataset) {
    return record == 2 && dataset >= 200 && dataset <= 202;
}

} // namespace

QByteArray iptcForResult(const QByteArray& iim) {
    QByteArray kept;
    qsizetype at = 0;
    // Each set: the marker, record and data set numbers, a 16-bit length or,
    // with its top bit set, the count of the length bytes that follow.
    while (iim.size() - at >= 5 && uint8_t(iim[at]) == kTagMarker) {
        qsizetype header = 5;
        uint64_t length = bigEndianAt(iim, at + 3, 2);
        if (length & 0x8000) {
            const qsizetype lengthBytes = qsizetype(length & 0x7FFF);
            if (lengthBytes < 1 || lengthBytes > 4 || iim.size() - at - 5 < lengthBytes)
                break;
            length = bigEndianAt(iim, at + 5, int(lengthBytes));
            header += lengthBytes;
        }
        if (length > uint64_t(iim.size() - at - header))
            break;
        const qsizetype total = header + qsizetype(length);
        if (!isPreview(uint8_t(iim[at + 1]), uint8_t(iim[at + 2])))
            kept += iim.mid(at, total);
        at += total;
    }
    return kept;
}

} // namespace tessaly
