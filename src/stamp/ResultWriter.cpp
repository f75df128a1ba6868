#include "stamp/ResultWriter.h"

#include "compositing/writing/BmpWriter.h"
#include "platform/FileReplacer.h"
#include "stamp/JpegWriter.h"
#include "stamp/PngWriter.h"
#include "stamp/TiffWriter.h"

namespace tessaly {

namespace {

QByteArray encoded(const Bitmap24& result, OutputFormat format, const JpegSettings& jpeg,
                   const PhotoMetadata& metadata) {
    switch (format) {
    case OutputFormat::Png:
        return encodePng(result, metadata);
    case OutputFormat::Jpeg:
        return encodeJpeg(result, jpeg, metadata);
    case OutputFormat::Tiff:
    case OutputFormat::Bmp:
        break;
    }
    return encodeTiff(result, metadata);
}

} // namespace

void writeResult(const Bitmap24& result, const QString& path, OutputFormat format,
                 const JpegSettings& jpeg, const PhotoMetadata& metadata) {
    if (format == OutputFormat::Bmp) {
        saveBmp(result, path);
        return;
    }
    // Encoded before the file is made, so a failed encoding leaves nothing.
    const QByteArray bytes = encoded(result, format, jpeg, metadata);
    replaceFile(path, bytes);
}

} // namespace tessaly
