#include "stamp/OutputPlan.h"

#include "compositing/decoding/PictureLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <sys/stat.h>

namespace tessaly {

namespace {

// What makes two names the same file: the device and inode of an existing
// file (links and hard links included), else the canonical folder and name.
QString fileKey(const QString& path) {
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) == 0)
        return QStringLiteral("#%1:%2").arg(st.st_dev).arg(st.st_ino);
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

OutputFormat formatForOutputName(const StampOptions& o) {
    if (o.format)
        return *o.format;
    return formatOfExtension(pictureExtension(o.output)).value_or(OutputFormat::Bmp);
}

// The result of a picture in the -d folder: the picture's name with the
// format's extension, keeping the picture's own where it names that format.
StampJob inFolder(const StampOptions& o, const QString& input) {
    const QFileInfo info(input);
    const QString extension = pictureExtension(info.fileName());
    const std::optional<OutputFormat> own = formatOfExtension(extension);
    StampJob job{input, {}, o.format.value_or(own.value_or(OutputFormat::Bmp)), {}};
    const bool keep = own && *own == job.format;
    const QString stem = extension.isNull() ? info.fileName() : info.completeBaseName();
    job.output =
        QDir(o.outputDir)
            .filePath(stem + QLatin1Char('.') + (keep ? extension : defaultExtension(job.format)));
    return job;
}

} // namespace

std::vector<StampJob> planStampJobs(const StampOptions& options) {
    std::vector<StampJob> jobs;
    QHash<QString, QString> inputs; // key -> name
    for (const QString& input : options.inputs)
        inputs.insert(fileKey(input), input);
    if (!options.watermark.isEmpty())
        inputs.insert(fileKey(options.watermark), options.watermark);
    QHash<QString, QString> outputs; // key -> the input it belongs to
    for (const QString& input : options.inputs) {
        StampJob job = options.outputDir.isEmpty()
                           ? StampJob{input, options.output, formatForOutputName(options), {}}
                           : inFolder(options, input);
        const QString key = fileKey(job.output);
        if (inputs.contains(key))
            job.refusal =
                format("Output \"%s\" is an input picture and is never overwritten", {job.output});
        else if (outputs.contains(key))
            job.refusal = format("Output \"%s\" is already the result of \"%s\"",
                                 {job.output, outputs.value(key)});
        else
            outputs.insert(key, input);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

} // namespace tessaly
