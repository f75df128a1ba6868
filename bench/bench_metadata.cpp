// What a photo's metadata costs tessaly-stamp, against the decoding of the
// same photo in the same run: a 6000 x 4000 JPEG carrying a camera's EXIF
// block (with its thumbnail) and XMP packet from the shared corpus and a
// Display P3 profile. Reading and editing the metadata, and the encoding of
// the result with and without it.
#include "compositing/decoding/JpegDecoder.h"
#include "PhotoLike.h"
#include "stamp/JpegWriter.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/ResultMetadata.h"

#include <benchmark/benchmark.h>
#include <QColorSpace>
#include <QFile>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

tessaly::Bitmap24 photoLike() {
    tessaly::Bitmap24 b;
    b.resize(kWidth, kHeight);
    paintPhotoLike(kWidth, kHeight, [&](int y) { return b.scanLine(y); });
    return b;
}

struct Photo {
    tessaly::Bitmap24 pixels = photoLike();
    tessaly::PhotoMetadata metadata;
    QByteArray file;
    Photo() {
        QFile camera(QStringLiteral(TESSALY_CORPUS "/jpeg/jpeg-decoder/reftest/ycck.jpg"));
        if (camera.open(QIODevice::ReadOnly))
            metadata = tessaly::readPhotoMetadata(camera.readAll());
        metadata.icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
        file = tessaly::encodeJpeg(pixels, {}, metadata);
    }
};

const Photo& photo() {
    static const Photo p;
    return p;
}

void BM_DecodePhoto(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tessaly::decodeJpeg(photo().file));
}

void BM_MetadataOfPhoto(benchmark::State& state) {
    if (photo().metadata.exif.isEmpty())
        state.SkipWithError("the shared corpus is missing");
    for (auto _ : state) {
        QStringList notes;
        const tessaly::PhotoMetadata found = tessaly::readPhotoMetadata(photo().file);
        benchmark::DoNotOptimize(tessaly::metadataForResult(found, QSize(kWidth, kHeight),
                                                            tessaly::OutputFormat::Jpeg, notes));
    }
}

// state.range(0): 1 with the metadata made true to the result, 0 without any.
void BM_EncodeResult(benchmark::State& state) {
    QStringList notes;
    const tessaly::PhotoMetadata carried =
        state.range(0) ? tessaly::metadataForResult(photo().metadata, QSize(kWidth, kHeight),
                                                    tessaly::OutputFormat::Jpeg, notes)
                       : tessaly::PhotoMetadata();
    for (auto _ : state)
        benchmark::DoNotOptimize(tessaly::encodeJpeg(photo().pixels, {}, carried));
}

} // namespace

BENCHMARK(BM_DecodePhoto)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_MetadataOfPhoto)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_EncodeResult)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_MAIN();
