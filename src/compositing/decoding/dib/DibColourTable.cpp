#include "compositing/decoding/dib/DibColourTable.h"

#include "compositing/decoding/ByteReader.h"
#include "compositing/decoding/dib/DibHeader.h"

#include <algorithm>

namespace tessaly {

namespace {

QRgb readEntry(ByteReader& reader, std::size_t entrySize) {
    if (entrySize == 2) {
        const int index = reader.u16() & 0xFF; // no palette here: a grey ramp stands in
        return qRgb(index, index, index);
    }
    const uint8_t* p = reader.take(entrySize);
    return qRgb(p[2], p[1], p[0]);
}

} // namespace

void readDibColourTable(DibInfo& info, ByteReader& reader, const DibPolicy& policy,
                        DibColours entries, std::size_t rowsAfter) {
    const bool indexed = info.bitCount >= 1 && info.bitCount <= 8;
    info.palette.clear();
    // Deeper pixels do not use a table. A BMP file says where its pixels
    // start and an icon image has none, so the file readers leave it.
    if (!indexed && !policy.drawDamaged)
        return;
    const std::size_t full = indexed ? std::size_t(1) << info.bitCount : 0;
    std::size_t count = info.coloursUsed != 0 ? info.coloursUsed : full;
    const std::size_t entrySize =
        entries == DibColours::PaletteIndices ? 2 : std::size_t(info.entrySize);
    const std::size_t left = reader.remaining();
    const std::size_t room = (left > rowsAfter ? left - rowsAfter : 0) / entrySize;
    if (count > room) {
        if (indexed && !policy.drawDamaged)
            reader.fail(); // the colours the pixels need are not in the file
        count = room;
    }
    const std::size_t kept = indexed ? std::min(count, full) : 0;
    info.palette.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i)
        info.palette.push_back(readEntry(reader, entrySize));
    reader.skip((count - kept) * entrySize); // entries no index can reach
}

QRgb dibMissingColour(const ByteReader& reader, const DibPolicy& policy) {
    if (!policy.drawDamaged)
        reader.fail(); // a colour the palette does not have
    return qRgb(0, 0, 0);
}

} // namespace tessaly
