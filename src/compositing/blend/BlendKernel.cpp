#include "compositing/blend/BlendKernel.h"

#include <immintrin.h>

namespace tessaly {

namespace {

// Eight bytes widened to 16-bit lanes: (weight x D + offset) >> 8, which stays
// below 256, so packing back to bytes loses nothing.
__m128i mix8(__m128i d, const uint16_t* weight, const uint16_t* offset) {
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight));
    const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(offset));
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, w), o), 8);
}

// The same arithmetic sixteen lanes at a time where the processor has AVX2;
// returns how many bytes it blended (a multiple of 32).
__attribute__((target("avx2"))) std::size_t blendRowAvx2(uint8_t* dest, const uint16_t* weight,
                                                         const uint16_t* offset,
                                                         std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const auto* d = reinterpret_cast<const __m128i*>(dest + i);
        const __m256i d0 = _mm256_cvtepu8_epi16(_mm_loadu_si128(d));
        const __m256i d1 = _mm256_cvtepu8_epi16(_mm_loadu_si128(d + 1));
        const auto* w = reinterpret_cast<const __m256i*>(weight + i);
        const auto* o = reinterpret_cast<const __m256i*>(offset + i);
        const __m256i r0 = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(d0, _mm256_loadu_si256(w)), _mm256_loadu_si256(o)),
            8);
        const __m256i r1 = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(d1, _mm256_loadu_si256(w + 1)),
                             _mm256_loadu_si256(o + 1)),
            8);
        // packus works per 128-bit lane; the permute puts the quarters back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(r0, r1), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), packed);
    }
    return i;
}

bool hasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

} // namespace

void prepareMarkRow(const uint8_t* mark, const uint8_t* keep, std::size_t bytes, int32_t alpha,
                    uint16_t* weight, uint16_t* offset) {
    // Both modulo 2^16, wrapping the way the table's entries do.
    const auto a = uint16_t(uint32_t(alpha));
    const auto b = uint32_t(256u - uint32_t(alpha));
    for (std::size_t i = 0; i < bytes; ++i) {
        weight[i] = keep[i] ? uint16_t(256) : a;
        offset[i] = keep[i] ? uint16_t(0) : uint16_t(b * mark[i]);
    }
}

void blendRow(uint8_t* dest, const uint16_t* weight, const uint16_t* offset, std::size_t bytes) {
    const std::size_t done = hasAvx2() ? blendRowAvx2(dest, weight, offset, bytes) : 0;
    blendRowBaseline(dest + done, weight + done, offset + done, bytes - done);
}

void blendRowBaseline(uint8_t* dest, const uint16_t* weight, const uint16_t* offset,
                      std::size_t bytes) {
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i + 16));
        const __m128i a = mix8(_mm_unpacklo_epi8(d0, zero), weight + i, offset + i);
        const __m128i b = mix8(_mm_unpackhi_epi8(d0, zero), weight + i + 8, offset + i + 8);
        const __m128i c = mix8(_mm_unpacklo_epi8(d1, zero), weight + i + 16, offset + i + 16);
        const __m128i e = mix8(_mm_unpackhi_epi8(d1, zero), weight + i + 24, offset + i + 24);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_packus_epi16(a, b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i + 16), _mm_packus_epi16(c, e));
    }
    for (; i + 16 <= bytes; i += 16) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        const __m128i lo = mix8(_mm_unpacklo_epi8(d, zero), weight + i, offset + i);
        const __m128i hi = mix8(_mm_unpackhi_epi8(d, zero), weight + i + 8, offset + i + 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_packus_epi16(lo, hi));
    }
    for (; i < bytes; ++i)
        dest[i] = uint8_t(uint16_t(weight[i] * dest[i] + offset[i]) >> 8);
}

} // namespace tessaly
