#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/BlendKernel.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace tessaly;

namespace {

// 257 pixels a row, so that every row holds each byte value D at least once
// and the kernel's tail runs; row y holds S = y everywhere.
constexpr int kWidth = 257;

Bitmap24 everyD() {
    Bitmap24 b;
    b.resize(kWidth, 256);
    for (int y = 0; y < 256; ++y)
        for (int i = 0; i < kWidth * 3; ++i)
            b.scanLine(y)[i] = uint8_t(i);
    return b;
}

Bitmap24 everyS() {
    Bitmap24 b;
    b.resize(kWidth, 256);
    for (int y = 0; y < 256; ++y)
        std::memset(b.scanLine(y), y, kWidth * 3);
    return b;
}

using RowKernel = void (*)(uint8_t*, const uint16_t*, const uint16_t*, std::size_t);

void expectKernelMatchesTable(int32_t alpha, RowKernel kernel = blendRow) {
    static const Bitmap24 d = everyD(), s = everyS();
    Bitmap24 reference = d, fast = d;
    AlphaBlendTile(reference, s, 0, 0, alpha);
    const std::vector<uint8_t> keepNone(kWidth * 3, 0);
    std::vector<uint16_t> weight(kWidth * 3), offset(kWidth * 3);
    for (int y = 0; y < 256; ++y) {
        prepareMarkRow(s.scanLine(y), keepNone.data(), kWidth * 3, alpha, weight.data(),
                       offset.data());
        kernel(fast.scanLine(y), weight.data(), offset.data(), kWidth * 3);
    }
    ASSERT_EQ(0, std::memcmp(reference.bits(), fast.bits(), fast.byteSize())) << "A=" << alpha;
}

} // namespace

TEST(BlendKernel, MatchesTheTableForEveryWeightAndBytePair) {
    for (int32_t alpha = 0; alpha <= 256; ++alpha) {
        expectKernelMatchesTable(alpha);
        expectKernelMatchesTable(alpha, blendRowBaseline); // processors without AVX2
    }
}

// Both wrap the same way outside 0..256, so no caller needs the slow path.
TEST(BlendKernel, MatchesTheTableForWeightsOutsideTheTrackBar) {
    for (int32_t alpha : {-1, -256, 257, 511, 65536, 65537, 8421504, 2147483647, -2147483647 - 1})
        expectKernelMatchesTable(alpha);
}

TEST(BlendKernel, KeepsMaskedBytesAndLeavesBytesPastTheEndAlone) {
    for (int alpha : {0, 125, 256}) {
        for (std::size_t length : {0u, 1u, 15u, 16u, 17u, 47u, 100u}) {
            std::vector<uint8_t> dest(length + 1), src(length + 1, 0), keep(length + 1);
            std::vector<uint16_t> weight(length + 1), offset(length + 1);
            for (std::size_t i = 0; i <= length; ++i) {
                dest[i] = uint8_t(200 + i);
                keep[i] = (i % 3 == 1) ? 1 : 0;
            }
            prepareMarkRow(src.data(), keep.data(), length, alpha, weight.data(), offset.data());
            blendRow(dest.data(), weight.data(), offset.data(), length);
            for (std::size_t i = 0; i < length; ++i) {
                const auto before = uint8_t(200 + i);
                const auto blended = uint8_t((alpha * before) >> 8); // over S = 0
                EXPECT_EQ(dest[i], keep[i] ? before : blended) << length << " @" << i;
            }
            EXPECT_EQ(dest[length], uint8_t(200 + length)) << length;
        }
    }
}
