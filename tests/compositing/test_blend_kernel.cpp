#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/BlendKernel.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
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

void expectKernelMatchesTable(int32_t alpha, BlendPath path) {
    static const Bitmap24 d = everyD(), s = everyS();
    Bitmap24 reference = d, fast = d;
    AlphaBlendTile(reference, s, 0, 0, alpha);
    const std::vector<uint8_t> keepNone(kWidth * 3, 0);
    std::vector<uint16_t> weight(kWidth * 3), offset(kWidth * 3);
    for (int y = 0; y < 256; ++y) {
        prepareMarkRow(s.scanLine(y), keepNone.data(), kWidth * 3, alpha, weight.data(),
                       offset.data());
        blendRowOn(path, fast.scanLine(y), weight.data(), offset.data(), kWidth * 3);
    }
    ASSERT_EQ(0, std::memcmp(reference.bits(), fast.bits(), fast.byteSize()))
        << blendPathName(path) << " A=" << alpha;
}

} // namespace

// Every path this processor can run, the baseline included, so that a
// machine without the wider instruction sets gets the bytes checked here.
class BlendKernel : public ::testing::TestWithParam<BlendPath> {};

INSTANTIATE_TEST_SUITE_P(Paths, BlendKernel, ::testing::ValuesIn(blendPaths()),
                         [](const auto& info) {
                             std::string name = blendPathName(info.param);
                             std::erase(name, '-');
                             return name;
                         });

TEST_P(BlendKernel, MatchesTheTableForEveryWeightAndBytePair) {
    for (int32_t alpha = 0; alpha <= 256; ++alpha)
        expectKernelMatchesTable(alpha, GetParam());
}

// All wrap the same way outside 0..256, so no caller needs the slow path.
TEST_P(BlendKernel, MatchesTheTableForWeightsOutsideTheTrackBar) {
    for (int32_t alpha : {-1, -256, 257, 511, 65536, 65537, 8421504, 2147483647, -2147483647 - 1})
        expectKernelMatchesTable(alpha, GetParam());
}

// Lengths around each path's block sizes (16, 32, 64 bytes), so that every
// tail is taken.
TEST_P(BlendKernel, KeepsMaskedBytesAndLeavesBytesPastTheEndAlone) {
    for (int alpha : {0, 125, 256}) {
        for (std::size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 33u, 47u, 63u, 64u, 95u, 100u}) {
            std::vector<uint8_t> dest(length + 1), src(length + 1, 0), keep(length + 1);
            std::vector<uint16_t> weight(length + 1), offset(length + 1);
            for (std::size_t i = 0; i <= length; ++i) {
                dest[i] = uint8_t(200 + i);
                keep[i] = (i % 3 == 1) ? 1 : 0;
            }
            prepareMarkRow(src.data(), keep.data(), length, alpha, weight.data(), offset.data());
            blendRowOn(GetParam(), dest.data(), weight.data(), offset.data(), length);
            for (std::size_t i = 0; i < length; ++i) {
                const auto before = uint8_t(200 + i);
                const auto blended = uint8_t((alpha * before) >> 8); // over S = 0
                EXPECT_EQ(dest[i], keep[i] ? before : blended) << length << " @" << i;
            }
            EXPECT_EQ(dest[length], uint8_t(200 + length)) << length;
        }
    }
}
