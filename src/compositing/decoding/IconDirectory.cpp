#include "compositing/decoding/IconDirectory.h"

#include "compositing/decoding/ByteReader.h"

#include <cstdlib>

namespace tessaly {

namespace {

int distance(const IconEntry& e) {
    return std::abs(e.width - kStandardIconSize) + std::abs(e.height - kStandardIconSize);
}

// Colour depth for the choice; old files leave the bit count 0 and give the
// number of colours instead.
int colourBits(int bitCount, int colourCount) {
    if (bitCount != 0)
        return bitCount;
    if (colourCount == 0)
        return 8;
    int bits = 1;
    while ((1 << bits) < colourCount)
        ++bits;
    return bits;
}

bool better(const IconEntry& candidate, const IconEntry& best) {
    if (distance(candidate) != distance(best))
        return distance(candidate) < distance(best);
    return candidate.bitCount > best.bitCount;
}

IconEntry readEntry(ByteReader& reader) {
    IconEntry e;
    const int width = reader.u8();
    const int height = reader.u8();
    const int colours = reader.u8();
    reader.skip(3); // reserved byte, planes
    e.width = width == 0 ? 256 : width;
    e.height = height == 0 ? 256 : height;
    e.bitCount = colourBits(reader.u16(), colours);
    e.size = reader.u32();
    e.offset = reader.u32();
    if (e.size == 0 || e.offset > reader.size() || e.size > reader.size() - e.offset)
        reader.fail();
    return e;
}

} // namespace

IconEntry chooseIconEntry(ByteReader& reader) {
    const uint16_t reserved = reader.u16();
    const uint16_t type = reader.u16();
    const uint16_t count = reader.u16();
    if (reserved != 0 || type != 1 || count == 0)
        reader.fail();
    IconEntry best = readEntry(reader);
    for (int i = 1; i < count; ++i) {
        const IconEntry e = readEntry(reader);
        if (better(e, best))
            best = e;
    }
    return best;
}

} // namespace tessaly
