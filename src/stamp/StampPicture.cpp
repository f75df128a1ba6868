#include "stamp/StampPicture.h"

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/ResultMetadata.h"
#include "stamp/ResultWriter.h"
#include "stamp/StampWhileDecoding.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

namespace {

void makeFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        throw Error(format("Cannot create folder \"%s\"", {folder}));
}

} // namespace

QStringList stampPicture(const StampJob& job, const Bitmap24& watermark,
                         const StampSettings& settings) {
    if (!job.refusal.isEmpty())
        throw Error(job.refusal);
    makeFolderOf(job.output);
    if (job.format == OutputFormat::Bmp) {
        // A BMP holds no metadata; most pictures are written as they decode.
        std::unique_ptr<Picture> picture =
            stampBmpWhileDecoding(job.input, job.output, watermark, settings.alpha);
        if (picture)
            writeResult(composeResult(std::move(picture), watermark, settings.alpha), job.output,
                        job.format, settings.jpeg, PhotoMetadata());
        return {};
    }
    QByteArray file;
    std::unique_ptr<Picture> picture = loadPicture(job.input, file);
    const PhotoMetadata source = settings.strip ? PhotoMetadata() : readPhotoMetadata(file);
    file = QByteArray(); // its pixels and metadata are out
    // The decoded pixels are not needed afterwards: the blend works in them.
    const Bitmap24 result = composeResult(std::move(picture), watermark, settings.alpha);
    QStringList notes;
    const PhotoMetadata carried =
        metadataForResult(source, QSize(result.width(), result.height()), job.format, notes);
    writeResult(result, job.output, job.format, settings.jpeg, carried);
    return notes;
}

} // namespace tessaly
