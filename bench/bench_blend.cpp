// The tiled blend on a 24-megapixel base, measured against a memcpy of the
// same bytes in the same run, and one whole run as the main window does it.
#include "compositing/blend/AlphaBlendTile.h"
#include "compositing/blend/BlendKernel.h"
#include "compositing/blend/Composition.h"
#include "compositing/blend/TiledBlend.h"
#include "compositing/picture/BitmapPicture.h"
#include "compositing/picture/PixelBuffer.h"
#include "compositing/preview/PreviewScaler.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tessaly;

namespace {

constexpr int kBaseWidth = 6000, kBaseHeight = 4000;
constexpr int kAlpha = 125;

Bitmap24 noise(int width, int height, uint32_t seed) {
    Bitmap24 b;
    b.resize(width, height);
    uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < b.byteSize(); ++i) {
        x = x * 1664525u + 1013904223u;
        b.bits()[i] = uint8_t(x >> 24);
    }
    return b;
}

// A watermark whose bottom-left colour also appears inside, as a logo on a
// plain background would have it.
Bitmap24 watermark(int width, int height) {
    Bitmap24 m = noise(width, height, 7);
    for (int y = 0; y < height; y += 2)
        std::memcpy(m.scanLine(y), m.bits(), 3);
    m.setColourKeyed(true);
    return m;
}

const Bitmap24& base() {
    static const Bitmap24 b = noise(kBaseWidth, kBaseHeight, 1);
    return b;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// This process's processor time: other programs on a busy machine stretch
// the wall clock, not this.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Yardstick {
    double wall = 1e9, cpu = 1e9;
};

// One memcpy of the base's bytes between warm buffers, best of a few: the
// yardstick every ratio below is taken against.
const Yardstick& memcpyTime() {
    static const Yardstick best = [] {
        const std::size_t bytes = base().byteSize();
        std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
        Yardstick fastest;
        for (int i = 0; i < 15; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = cpuSeconds();
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::DoNotOptimize(to.data());
            fastest.cpu = std::min(fastest.cpu, cpuSeconds() - cpuStart);
            fastest.wall =
                std::min(fastest.wall, seconds(std::chrono::steady_clock::now() - start));
        }
        return fastest;
    }();
    return best;
}

// Runs body once per iteration and reports its wall-clock and processor time
// as multiples of the memcpy's, and the base's bytes per second.
template <typename Body> void timed(benchmark::State& state, Body body) {
    const Yardstick& yardstick = memcpyTime();
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        body();
        cpu += cpuSeconds() - cpuStart;
        wall += seconds(std::chrono::steady_clock::now() - start);
    }
    const double n = double(state.iterations());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(base().byteSize()));
    state.counters["x_memcpy"] = wall / n / yardstick.wall;
    state.counters["x_memcpy_cpu"] = cpu / n / yardstick.cpu;
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint8_t> from(base().byteSize(), 1), to(base().byteSize(), 2);
    timed(state, [&] {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
    });
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BlendTiles(benchmark::State& state) {
    Bitmap24 b = base();
    const Bitmap24 m = watermark(int(state.range(0)), int(state.range(1)));
    timed(state, [&] { blendTiles(b, m, kAlpha); });
}
BENCHMARK(BM_BlendTiles)
    ->Args({300, 100})
    ->Args({64, 64})
    ->Args({2, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The row kernel alone on each path this processor has (0 SSE2, 1 AVX2,
// 2 AVX-512), over every row of the base with one prepared watermark row.
void BM_RowKernel(benchmark::State& state) {
    const auto path = BlendPath(state.range(0));
    const std::vector<BlendPath> paths = blendPaths();
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
        state.SkipWithError("this processor lacks the path");
        return;
    }
    state.SetLabel(blendPathName(path));
    Bitmap24 b = base();
    const std::size_t bytes = std::size_t(b.width()) * 3;
    const Bitmap24& mark = base(); // any bytes serve as watermark bytes
    std::vector<uint8_t> keep(bytes, 0);
    std::vector<uint16_t> weight(bytes), offset(bytes);
    prepareMarkRow(mark.bits(), keep.data(), bytes, kAlpha, weight.data(), offset.data());
    timed(state, [&] {
        for (int y = 0; y < b.height(); ++y)
            blendRowOn(path, b.scanLine(y), weight.data(), offset.data(), bytes);
    });
}
BENCHMARK(BM_RowKernel)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The plain table version, one AlphaBlendTile call per grid position.
void BM_TableReferenceLoop(benchmark::State& state) {
    Bitmap24 b = base();
    const Bitmap24 m = watermark(int(state.range(0)), int(state.range(1)));
    timed(state, [&] {
        for (int i = 0; i <= b.width() / m.width(); ++i)
            for (int k = 0; k <= b.height() / m.height(); ++k)
                AlphaBlendTile(b, m, i * m.width(), k * m.height(), kAlpha);
    });
}
BENCHMARK(BM_TableReferenceLoop)
    ->Args({300, 100})
    ->Args({64, 64})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What one track-bar step costs, as the main window runs it: the previous
// result dropped, fresh work bitmaps from both pictures (an upright photo is
// held as a 24-bit bitmap), the blend, and the result handed to its picture.
struct Window {
    BitmapPicture basePicture{noise(kBaseWidth, kBaseHeight, 1)};
    BitmapPicture markPicture{watermark(300, 100)};
    std::unique_ptr<BitmapPicture> result;

    void run() {
        result.reset();
        result = std::make_unique<BitmapPicture>(composeResult(basePicture, markPicture, kAlpha));
    }
};

// range(0) = 1 keeps large buffers for the next run, 0 drops them so that
// every run takes fresh (huge) pages.
void BM_FullRun(benchmark::State& state) {
    Window window;
    window.run();
    timed(state, [&] {
        if (state.range(0) == 0) {
            window.result.reset();
            dropPixelCache();
        }
        window.run();
    });
}
BENCHMARK(BM_FullRun)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first touch of a fresh base-sized buffer, with and without huge pages.
void BM_FreshBuffer(benchmark::State& state) {
    const std::size_t bytes = base().byteSize();
    const std::size_t rounded = (bytes + (2u << 20) - 1) / (2u << 20) * (2u << 20);
    timed(state, [&] {
        void* p = std::aligned_alloc(2u << 20, rounded);
        if (state.range(0))
            madvise(p, rounded, MADV_HUGEPAGE);
        std::memset(p, 0xFF, bytes);
        benchmark::DoNotOptimize(p);
        std::free(p);
    });
}
BENCHMARK(BM_FreshBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The result's preview for a 177-pixel box: made once per result, then kept.
void BM_ResultPreview(benchmark::State& state) {
    timed(state, [&] { benchmark::DoNotOptimize(scaledPreview(base(), QSize(177, 118))); });
}
BENCHMARK(BM_ResultPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

double maxRssBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

struct PeakMemory {
    double overLoaded = 0, total = 0; // bytes
};
PeakMemory peakMemory;

// The window's state over five runs, in a child forked before any benchmark
// has allocated, so that only the pictures and the runs count.
bool measurePeakMemory() {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        Window window;
        const double loaded = maxRssBytes();
        for (int i = 0; i < 5; ++i)
            window.run();
        const PeakMemory peak{maxRssBytes() - loaded, maxRssBytes()};
        _exit(write(fds[1], &peak, sizeof peak) == sizeof peak ? 0 : 1);
    }
    close(fds[1]);
    const bool ok = child > 0 && read(fds[0], &peakMemory, sizeof peakMemory) == sizeof peakMemory;
    close(fds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return ok;
}

// Reports the peak above the loaded pictures, and the whole process's peak,
// as multiples of the base's 24-bit size.
void BM_PeakMemory(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(peakMemory);
    if (peakMemory.total == 0) {
        state.SkipWithError("no measurement from the child");
        return;
    }
    const double baseBytes = double(Bitmap24::rowSizeFor(kBaseWidth)) * kBaseHeight;
    state.counters["peak_over_loaded_x_base"] = peakMemory.overLoaded / baseBytes;
    state.counters["peak_total_x_base"] = peakMemory.total / baseBytes;
}
BENCHMARK(BM_PeakMemory)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    measurePeakMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
