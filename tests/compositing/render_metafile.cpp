// Plays metafiles into PNG files so that a person can look at them:
//   render_metafile <output folder> <file.wmf|file.emf>...
// Each picture is rasterised onto white at its natural size (or previewed at
// most 1600 pixels wide when it is larger) and saved under its file name.
#include "compositing/picture/Bitmap24.h"
#include "compositing/decoding/MetafileDecoder.h"
#include "platform/Error.h"

#include <cstdio>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

constexpr int kMaxSide = 1600;

QImage fromBitmap(const tessaly::Bitmap24& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint8_t* in = bitmap.scanLine(y);
        uint8_t* out = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    return image;
}

QImage render(const tessaly::Picture& picture) {
    const QSize size = picture.naturalSize();
    if (size.width() <= kMaxSide && size.height() <= kMaxSide) {
        tessaly::Bitmap24 bitmap;
        bitmap.resize(size.width(), size.height());
        picture.rasterise(bitmap);
        return fromBitmap(bitmap);
    }
    const QSize shown = size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio);
    QImage image(shown, QImage::Format_RGB32);
    QPainter painter(&image);
    picture.drawPreview(painter, image.rect(), Qt::white);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_metafile <output folder> <metafile>...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const QFileInfo info(QString::fromLocal8Bit(argv[i]));
        QFile file(info.filePath());
        try {
            if (!file.open(QIODevice::ReadOnly))
                throw tessaly::Error(QStringLiteral("cannot open"));
            const QByteArray bytes = file.readAll();
            const bool emf = info.suffix().compare(QLatin1String("emf"), Qt::CaseInsensitive) == 0;
            const auto picture = emf ? tessaly::decodeEmf(bytes) : tessaly::decodeWmf(bytes);
            const QString name = out.filePath(info.completeBaseName() + QLatin1Char('_') +
                                              info.suffix() + QStringLiteral(".png"));
            if (!render(*picture).save(name))
                throw tessaly::Error(QStringLiteral("cannot write ") + name);
            std::printf("%s: %dx%d -> %s\n", argv[i], picture->naturalSize().width(),
                        picture->naturalSize().height(), qPrintable(name));
        } catch (const tessaly::Error& e) {
            std::printf("%s: %s\n", argv[i], e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
