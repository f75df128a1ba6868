#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly {

// Blends `bytes` bytes of src into dest in place: each dest byte D under src
// byte S becomes (alpha x D + (256 - alpha) x S) >> 8 taken in 16 bits, which
// is byte for byte what AlphaBlendTile's table gives for any alpha. Where
// keep[i] is 0xFF dest[i] stays as it is (keep holds only 0x00 and 0xFF), so
// key pixels need no branch.
void blendRow(uint8_t* dest, const uint8_t* src, const uint8_t* keep, std::size_t bytes,
              int32_t alpha);

} // namespace tessaly
