#pragma once

// The row blend of BlendKernel.h, one function per instruction set; each one
// blends the whole row, its last bytes included. Only BlendKernel.cpp calls
// them, after asking the processor.

#include <cstddef>
#include <cstdint>

namespace tessaly {

void blendRowSse2(uint8_t* dest, const uint16_t* weight, const uint16_t* offset, std::size_t bytes);
void blendRowAvx2(uint8_t* dest, const uint16_t* weight, const uint16_t* offset, std::size_t bytes);
void blendRowAvx512(uint8_t* dest, const uint16_t* weight, const uint16_t* offset,
                    std::size_t bytes);

} // namespace tessaly
