#include "stamp/ResultWriter.h"

#include "compositing/writing/BmpWriter.h"
#include "platform/FileReplacer.h"
#include "stamp/JpegWriter.h"
#include "stamp/PngWriter.h"
#include "stamp/TiffWriter.h"

namespace tessaly {

namespace {

QByteArray encoded(const Bitmap24& result, OutputFormat format, int quality,
                   const QByteArray& exif) {
    switch (format) {
    case OutputFormat::Png:
        return encodePng(result, exif);
    case OutputFormat::Jpeg:
        return encodeJpeg(result, quality, exif);
    case OutputFormat::Tiff:
    case OutputFormat::Bmp:
        break;
    }
    return encodeTiff(result);
}

} // namespace

bool carriesExif(OutputFormat format) {
    return format == OutputFormat::Jpeg || format == OutputFormat::Png;
}

void writeResult(const Bitmap24& result, const QString& path, OutputFormat format, int quality,
                 const QByteArray& exif) {
    if (format == OutputFormat::Bmp) {
        saveBmp(result, path);
        return;
    }
    // Encoded before the file is made, so a failed encoding leaves nothing.
    const QByteArray bytes = encoded(result, format, quality, exif);
    replaceFile(path, bytes);
}

} // namespace tessaly
