#include "compositing/blend/BlendRows.h"

#include <emmintrin.h>

namespace tessaly {

namespace {

// Eight bytes widened to 16-bit lanes: (weight x D + offset) >> 8, which stays
// below 256, so packing back to bytes loses nothing.
__m128i mix8(__m128i d, const uint16_t* weight, const uint16_t* offset) {
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight));
    const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(offset));
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, w), o), 8);
}

__m128i mix16(__m128i d, const uint16_t* weight, const uint16_t* offset) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = mix8(_mm_unpacklo_epi8(d, zero), weight, offset);
    const __m128i hi = mix8(_mm_unpackhi_epi8(d, zero), weight + 8, offset + 8);
    return _mm_packus_epi16(lo, hi);
}

} // namespace

void blendRowSse2(uint8_t* dest, const uint16_t* weight, const uint16_t* offset,
                  std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        auto* d = reinterpret_cast<__m128i*>(dest + i);
        _mm_storeu_si128(d, mix16(_mm_loadu_si128(d), weight + i, offset + i));
    }
    for (; i < bytes; ++i)
        dest[i] = uint8_t(uint16_t(weight[i] * dest[i] + offset[i]) >> 8);
}

} // namespace tessaly
