#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly {

// The blend of a base byte D under a watermark byte S with weight A is
// (A x D + (256 - A) x S) >> 8 taken in 16 bits, which is byte for byte what
// AlphaBlendTile's table gives for any A. With S fixed by the watermark, that
// is (weight x D + offset) >> 8, where a watermark row gives each byte its
// weight A and offset (256 - A) x S once; a key pixel's bytes get weight 256
// and offset 0, which gives D back, so key pixels need no branch.

// Prepares `bytes` watermark bytes; keep[i] is non-zero for bytes of key
// pixels.
void prepareMarkRow(const uint8_t* mark, const uint8_t* keep, std::size_t bytes, int32_t alpha,
                    uint16_t* weight, uint16_t* offset);

// The instruction sets the row blend is written for. SSE2 is the x86-64
// baseline; the wider ones run where the processor has them.
enum class BlendPath { Sse2, Avx2, Avx512 };

// The paths this processor can run, the baseline first and the one blendRow
// takes last.
std::vector<BlendPath> blendPaths();
const char* blendPathName(BlendPath path);

// Blends `bytes` bytes of dest in place with prepared weights and offsets, on
// the widest path the processor has.
void blendRow(uint8_t* dest, const uint16_t* weight, const uint16_t* offset, std::size_t bytes);
// The same on one given path, which the processor must have.
void blendRowOn(BlendPath path, uint8_t* dest, const uint16_t* weight, const uint16_t* offset,
                std::size_t bytes);

} // namespace tessaly
