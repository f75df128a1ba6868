#include "compositing/blend/BlendRows.h"

#include <immintrin.h>

namespace tessaly {

namespace {

// Sixteen bytes widened to 16-bit lanes: (weight x D + offset) >> 8.
__attribute__((target("avx2"))) __m256i mix16(const uint8_t* dest, const uint16_t* weight,
                                              const uint16_t* offset) {
    const __m256i d = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(dest)));
    const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight));
    const __m256i o = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(offset));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(d, w), o), 8);
}

} // namespace

__attribute__((target("avx2"))) void blendRowAvx2(uint8_t* dest, const uint16_t* weight,
                                                  const uint16_t* offset, std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i r0 = mix16(dest + i, weight + i, offset + i);
        const __m256i r1 = mix16(dest + i + 16, weight + i + 16, offset + i + 16);
        // packus works per 128-bit lane; the permute puts the quarters back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(r0, r1), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), packed);
    }
    blendRowSse2(dest + i, weight + i, offset + i, bytes - i);
}

} // namespace tessaly
