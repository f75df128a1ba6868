#include "compositing/blend/BlendKernel.h"

#include "compositing/blend/BlendRows.h"

namespace tessaly {

namespace {

using RowBlend = void (*)(uint8_t*, const uint16_t*, const uint16_t*, std::size_t);

bool hasAvx2() {
    return __builtin_cpu_supports("avx2");
}

// The 512-bit path also uses byte and word masks on 256-bit registers.
bool hasAvx512() {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl");
}

RowBlend rowBlendFor(BlendPath path) {
    switch (path) {
    case BlendPath::Avx512:
        return blendRowAvx512;
    case BlendPath::Avx2:
        return blendRowAvx2;
    case BlendPath::Sse2:
        break;
    }
    return blendRowSse2;
}

RowBlend widestRowBlend() {
    static const RowBlend chosen = rowBlendFor(blendPaths().back());
    return chosen;
}

} // namespace

std::vector<BlendPath> blendPaths() {
    std::vector<BlendPath> paths{BlendPath::Sse2};
    if (hasAvx2())
        paths.push_back(BlendPath::Avx2);
    if (hasAvx512())
        paths.push_back(BlendPath::Avx512);
    return paths;
}

const char* blendPathName(BlendPath path) {
    switch (path) {
    case BlendPath::Avx512:
        return "AVX-512";
    case BlendPath::Avx2:
        return "AVX2";
    case BlendPath::Sse2:
        break;
    }
    return "SSE2";
}

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
    widestRowBlend()(dest, weight, offset, bytes);
}

void blendRowOn(BlendPath path, uint8_t* dest, const uint16_t* weight, const uint16_t* offset,
                std::size_t bytes) {
    rowBlendFor(path)(dest, weight, offset, bytes);
}

} // namespace tessaly
