#include "compositing/BlendKernel.h"

#include <emmintrin.h>

namespace tessaly {

namespace {

// The weights modulo 2^16: the lanes wrap the same way as the table's entries.
uint16_t baseWeight(int32_t alpha) {
    return uint16_t(uint32_t(alpha));
}
uint16_t markWeight(int32_t alpha) {
    return uint16_t(256u - uint32_t(alpha));
}

__m128i mixLanes(__m128i d, __m128i s, __m128i a, __m128i b) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, a), _mm_mullo_epi16(s, b)), 8);
}

// Sixteen bytes at a time; the shifted sums are below 256, so packing them back
// to bytes loses nothing.
__m128i mix16(__m128i d, __m128i s, __m128i a, __m128i b) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = mixLanes(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), a, b);
    const __m128i hi = mixLanes(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), a, b);
    return _mm_packus_epi16(lo, hi);
}

} // namespace

void blendRow(uint8_t* dest, const uint8_t* src, const uint8_t* keep, std::size_t bytes,
              int32_t alpha) {
    const uint16_t a = baseWeight(alpha), b = markWeight(alpha);
    const __m128i va = _mm_set1_epi16(int16_t(a)), vb = _mm_set1_epi16(int16_t(b));
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keep + i));
        const __m128i mixed = mix16(d, s, va, vb);
        const __m128i out = _mm_or_si128(_mm_and_si128(k, d), _mm_andnot_si128(k, mixed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), out);
    }
    for (; i < bytes; ++i) {
        const auto mixed = uint8_t(uint16_t(a * dest[i] + b * src[i]) >> 8);
        dest[i] = uint8_t((dest[i] & keep[i]) | (mixed & ~keep[i]));
    }
}

} // namespace tessaly
