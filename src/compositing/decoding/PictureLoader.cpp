#include "compositing/decoding/PictureLoader.h"

#include "compositing/decoding/BmpDecoder.h"
#include "compositing/decoding/GifDecoder.h"
#include "compositing/decoding/IcoDecoder.h"
#include "compositing/decoding/JpegDecoder.h"
#include "compositing/decoding/MetafileDecoder.h"
#include "compositing/decoding/PictureFile.h"
#include "compositing/decoding/PngDecoder.h"
#include "compositing/decoding/TiffDecoder.h"
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

bool readsPictureExtension(const QString& extension) {
    return decoderFor(extension) != nullptr;
}

std::unique_ptr<Picture> loadPicture(const QString& path, QByteArray& fileBytes) {
    const QString extension = pictureExtension(path);
    const Decoder decode = decoderFor(extension);
    if (!decode)
        throw Error(format("Unknown picture file extension (.%s)", {extension}));
    fileBytes = readPictureFile(path, kMaxPictureFileBytes);
    return decode(fileBytes);
}

std::unique_ptr<Picture> loadPicture(const QString& path) {
    QByteArray bytes;
    return loadPicture(path, bytes);
}

} // namespace tessaly
