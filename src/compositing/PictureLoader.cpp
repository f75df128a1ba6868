#include "compositing/PictureLoader.h"

#include "compositing/BmpDecoder.h"
#include "compositing/GifDecoder.h"
#include "compositing/IcoDecoder.h"
#include "compositing/JpegDecoder.h"
#include "compositing/MetafileDecoder.h"
#include "compositing/PictureFile.h"
#include "compositing/PngDecoder.h"
#include "compositing/TiffDecoder.h"
#include "platform/Error.h"

namespace tessaly {

namespace {

using Decoder = std::unique_ptr<Picture> (*)(const QByteArray&);

struct Kind {
    const char* extension;
    Decoder decode;
};

constexpr Kind kKinds[] = {
    {"bmp", decodeBmp},  {"jpg", decodeJpeg},  {"jpeg", decodeJpeg}, {"png", decodePng},
    {"gif", decodeGif},  {"ico", decodeIco},   {"wmf", decodeWmf},   {"emf", decodeEmf},
    {"tif", decodeTiff}, {"tiff", decodeTiff},
};

Decoder decoderFor(const QString& extension) {
    for (const Kind& kind : kKinds) {
        if (extension.compare(QLatin1String(kind.extension), Qt::CaseInsensitive) == 0)
            return kind.decode;
    }
    return nullptr;
}

qsizetype fileNameStart(const QString& path) {
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = std::max(slash, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return slash + 1;
}

} // namespace

QString pictureExtension(const QString& path) {
    const qsizetype start = fileNameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= start ? path.mid(dot + 1) : QString();
}

std::unique_ptr<Picture> loadPicture(const QString& path) {
    const QString extension = pictureExtension(path);
    const Decoder decode = decoderFor(extension);
    if (!decode)
        throw Error(format("Unknown picture file extension (.%s)", {extension}));
    return decode(readPictureFile(path, kMaxPictureFileBytes));
}

} // namespace tessaly
