#pragma once

// The body every decoder harness shares: decode the input as the loader would
// hand it over, accept the program's own error, and draw what decoded when it
// is small enough to keep the fuzzer fast.

#include "compositing/decoding/BandSink.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"
#include "platform/Error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace tessaly::fuzz {

using Decoder = std::unique_ptr<Picture> (*)(const QByteArray&);

// Metafiles draw text, which needs a GUI application (offscreen).
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

inline int decodeAndDraw(Decoder decode, const uint8_t* data, std::size_t size) {
    ensureApplication();
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<Picture> picture;
    try {
        picture = decode(bytes);
    } catch (const Error&) {
        return 0;
    }
    const QSize natural = picture->naturalSize();
    if (int64_t(natural.width()) * natural.height() > (int64_t(1) << 20))
        return 0;
    try {
        Bitmap24 bitmap;
        bitmap.setWidth(natural.width());
        bitmap.setHeight(natural.height());
        picture->rasterise(bitmap);
        QImage box(48, 48, QImage::Format_RGB32);
        QPainter painter(&box);
        picture->drawPreview(painter, QRect(0, 0, 48, 31), Qt::gray);
    } catch (const Error&) {
    }
    return 0;
}

using BandDecoder = std::unique_ptr<Picture> (*)(const QByteArray&, BandSink*);

// Takes a small picture in bands of a few rows, as tessaly-stamp takes a
// photo for a BMP result, and refuses a large one before its rows.
class FewRowBands final : public BandSink {
public:
    bool begin(int width, int height) override {
        if (int64_t(width) * height > (int64_t(1) << 20))
            throw Error(QStringLiteral("too large for the harness"));
        width_ = width;
        height_ = height;
        return true;
    }
    Bitmap24& band(int firstRow) override {
        if (firstRow < 0 || firstRow >= height_ || (taken_ && firstRow != next_))
            std::abort(); // a band out of turn
        band_.resizeForOverwrite(width_, std::min(5, height_ - firstRow));
        next_ = firstRow + band_.height();
        taken_ = true;
        return band_;
    }
    void bandDecoded() override {}
    void decodingFailed() override {}

private:
    int width_ = 0, height_ = 0, next_ = 0;
    bool taken_ = false;
    Bitmap24 band_;
};

inline int decodeInBands(BandDecoder decode, const uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    FewRowBands bands;
    try {
        decode(bytes, &bands);
    } catch (const Error&) {
    }
    return 0;
}

} // namespace tessaly::fuzz
