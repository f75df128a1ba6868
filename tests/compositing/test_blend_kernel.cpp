#include "compositing/AlphaBlendTile.h"
#include "compositing/BlendKernel.h"

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

void expectKernelMatchesTable(int32_t alpha) {
    static const Bitmap24 d = everyD(), s = everyS();
    Bitmap24 reference = d, fast = d;
    AlphaBlendTile(reference, s, 0, 0, alpha);
    const std::vector<uint8_t> keepNone(kWidth * 3, 0);
    for (int y = 0; y < 256; ++y)
        blendRow(fast.scanLine(y), s.scanLine(y), keepNone.data(), kWidth * 3, alpha);
    ASSERT_EQ(0, std::memcmp(reference.bits(), fast.bits(), fast.byteSize())) << "A=" << alpha;
}

} // namespace

TEST(BlendKernel, MatchesTheTableForEveryWeightAndBytePair) {
    for (int32_t alpha = 0; alpha <= 256; ++alpha)
        expectKernelMatchesTable(alpha);
}

// Both wrap the same way outside 0..256, so no caller needs the slow path.
TEST(BlendKernel, MatchesTheTableForWeightsOutsideTheTrackBar) {
    for (int32_t alpha : {-1, -256, 257, 511, 65536, 65537, 8421504, 2147483647, -2147483647 - 1})
        expectKernelMatchesTable(alpha);
}

TEST(BlendKernel, KeepsMaskedBytesAndLeavesBytesPastTheEndAlone) {
    for (std::size_t length : {0u, 1u, 15u, 16u, 17u, 47u, 100u}) {
        std::vector<uint8_t> dest(length + 1), src(length + 1, 0), keep(length + 1);
        for (std::size_t i = 0; i <= length; ++i) {
            dest[i] = uint8_t(200 + i);
            keep[i] = (i % 3 == 1) ? 0xFF : 0x00;
        }
        blendRow(dest.data(), src.data(), keep.data(), length, 0);
        for (std::size_t i = 0; i < length; ++i)
            EXPECT_EQ(dest[i], keep[i] ? uint8_t(200 + i) : 0) << length << " @" << i;
        EXPECT_EQ(dest[length], uint8_t(200 + length)) << length;
    }
}
