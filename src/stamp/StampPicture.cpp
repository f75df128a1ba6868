#include "stamp/StampPicture.h"

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/ResultMetadata.h"
#include "stamp/ResultWriter.h"

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
    QByteArray file;
    std::unique_ptr<Picture> picture = loadPicture(job.input, file);
    const bool carries = !settings.strip && job.format != OutputFormat::Bmp;
    const PhotoMetadata source = carries ? readPhotoMetadata(file) : PhotoMetadata();
    file = QByteArray(); // its pixels and metadata are out
    const Bitmap24 result = composeResult(*picture, watermark, settings.alpha);
    picture.reset(); // the decoded pixels are not needed while encoding
    QStringList notes;
    const PhotoMetadata carried =
        metadataForResult(source, QSize(result.width(), result.height()), job.format, notes);
    makeFolderOf(job.output);
    writeResult(result, job.output, job.format, settings.jpeg, carried);
    return notes;
}

} // namespace tessaly
