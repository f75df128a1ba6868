// libFuzzer entry for the emf decoder: any input either decodes or raises
// tessaly::Error; small pictures are also played (rasterised and previewed).
#include "compositing/Bitmap24.h"
#include "compositing/MetafileDecoder.h"
#include "platform/Error.h"

#include <cstdint>
#include <cstdlib>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

constexpr int64_t kMaxPlayedPixels = 1 << 20;

QGuiApplication* application() {
    static int argc = 1;
    static char name[] = "fuzz_emf";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(argc, argv);
    return &app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    application();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const auto picture = tessaly::decodeEmf(bytes);
        const QSize natural = picture->naturalSize();
        if (int64_t(natural.width()) * natural.height() <= kMaxPlayedPixels) {
            tessaly::Bitmap24 bitmap;
            bitmap.resize(natural.width(), natural.height());
            picture->rasterise(bitmap);
        }
        QImage preview(64, 48, QImage::Format_RGB32);
        QPainter painter(&preview);
        picture->drawPreview(painter, preview.rect(), Qt::gray);
    } catch (const tessaly::Error&) {
    }
    return 0;
}
