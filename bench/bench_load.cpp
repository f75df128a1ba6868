// Loading and rasterising a 24-megapixel picture (6000 x 4000), the size of a
// common camera photo. The JPEG and PNG inputs are written at start into a
// temporary folder with libjpeg and libpng.
#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/BitmapPicture.h"
#include "compositing/picture/RasterPicture.h"
#include "compositing/preview/PreviewScaler.h"
#include "PhotoLike.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

QImage photoLike() {
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    paintPhotoLike(kWidth, kHeight, [&](int y) { return image.scanLine(y); });
    return image;
}

void writeJpeg(const QImage& image, const QString& path) {
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, out);
    c.image_width = JDIMENSION(image.width());
    c.image_height = JDIMENSION(image.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar*>(image.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(out);
}

void writePng(const QImage& image, const QString& path) {
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, image.constScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

struct Inputs {
    QTemporaryDir dir;
    QString jpeg = dir.path() + QStringLiteral("/photo.jpg");
    QString png = dir.path() + QStringLiteral("/photo.png");
    Inputs() {
        const QImage image = photoLike();
        writeJpeg(image, jpeg);
        writePng(image, png);
    }
};

const Inputs& inputs() {
    static const Inputs made;
    return made;
}

void loadBenchmark(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        auto picture = tessaly::loadPicture(path);
        benchmark::DoNotOptimize(picture.get());
    }
}

void rasteriseBenchmark(benchmark::State& state, const tessaly::Picture& picture) {
    tessaly::Bitmap24 bitmap;
    bitmap.setWidth(picture.naturalSize().width());
    bitmap.setHeight(picture.naturalSize().height());
    for (auto _ : state) {
        picture.rasterise(bitmap);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bitmap.byteSize()));
}

void BM_LoadJpeg(benchmark::State& state) {
    loadBenchmark(state, inputs().jpeg);
}

void BM_LoadPng(benchmark::State& state) {
    loadBenchmark(state, inputs().png);
}

void BM_RasteriseJpeg(benchmark::State& state) {
    rasteriseBenchmark(state, *tessaly::loadPicture(inputs().jpeg));
}

void BM_RasterisePng(benchmark::State& state) {
    rasteriseBenchmark(state, *tessaly::loadPicture(inputs().png));
}

// The blend over white of a picture with transparency (png alpha, ico, tiff).
void BM_RasteriseWithAlpha(benchmark::State& state) {
    QImage pixels = tessaly::RasterPicture::newTransparent(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = qRgba(x & 0xFF, y & 0xFF, 128, (x + y) & 0xFF);
    }
    rasteriseBenchmark(state, tessaly::RasterPicture(std::move(pixels)));
}

// The first preview of a photo in a 177-pixel box (later repaints use the
// cached image). An upright JPEG photo is held as a 24-bit bitmap.
void BM_PreviewScale(benchmark::State& state) {
    const auto picture = tessaly::loadPicture(inputs().jpeg);
    const auto& bitmap = dynamic_cast<const tessaly::BitmapPicture&>(*picture).bitmap();
    for (auto _ : state)
        benchmark::DoNotOptimize(tessaly::scaledPreview(bitmap, QSize(177, 118)));
}

BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RasteriseJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RasterisePng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RasteriseWithAlpha)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewScale)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
