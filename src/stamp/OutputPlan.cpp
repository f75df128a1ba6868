#include "stamp/OutputPlan.h"

#include "compositing/decoding/PictureLoader.h"
#include "stamp/NamePattern.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <sys/stat.h>

namespace tessaly {

namespace {

// What makes two names the same file: the device and inode of an existing
// file (links and hard links included), else the canonical path of the
// nearest folder that exists, with the names below it.
QString fileKey(const QString& path) {
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) == 0)
        return QStringLiteral("#%1:%2").arg(st.st_dev).arg(st.st_ino);
    QString existing = QFileInfo(path).absoluteFilePath(), below;
    while (!existing.isEmpty() && !QFileInfo(existing).isDir()) {
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        below.prepend(existing.mid(slash));
        existing.truncate(slash);
    }
    const QString canonical =
        QFileInfo(existing.isEmpty() ? QStringLiteral("/") : existing).canonicalFilePath();
    return QDir::cleanPath(canonical + below);
}

bool exists(const QString& path) {
    struct stat st;
    return lstat(QFile::encodeName(path).constData(), &st) == 0; // a dangling link too
}

OutputFormat formatForOutputName(const StampOptions& o) {
    if (o.format)
        return *o.format;
    return formatOfExtension(pictureExtension(o.output)).value_or(OutputFormat::Bmp);
}

// The result of a picture in the -d folder: the pattern's name, {ext} the
// picture's own extension where it names the result's format, else the
// format's usual one.
StampJob inFolder(const StampOptions& o, const FoundPicture& picture, std::size_t number,
                  std::size_t total) {
    const QFileInfo info(picture.path);
    const QString extension = pictureExtension(info.fileName());
    const std::optional<OutputFormat> own = formatOfExtension(extension);
    StampJob job{picture.path, {}, o.format.value_or(own.value_or(OutputFormat::Bmp)), {}};
    const bool keep = own && *own == job.format;
    const NameFields fields{extension.isNull() ? info.fileName() : info.completeBaseName(),
                            keep ? extension : defaultExtension(job.format),
                            info.absoluteDir().dirName(), number, total};
    const QString name =
        expandNamePattern(o.namePattern.value_or(QLatin1String(kDefaultNamePattern)), fields);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        job.refusal = format("--name gives \"%s\" no file name", {picture.path});
    job.output =
        QDir(o.outputDir)
            .filePath(picture.subfolder.isEmpty() ? name
                                                  : picture.subfolder + QLatin1Char('/') + name);
    return job;
}

// Keeps results off the inputs, the watermark and each other, and applies
// --existing to the outputs that are there already.
class Refusals {
public:
    Refusals(const StampOptions& o, const std::vector<FoundPicture>& pictures)
        : existing_(o.existing) {
        for (const FoundPicture& p : pictures)
            inputs_.insert(fileKey(p.path), p.path);
        if (!o.watermark.isEmpty())
            inputs_.insert(fileKey(o.watermark), o.watermark);
    }

    void check(StampJob& job) {
        if (!job.refusal.isEmpty())
            return;
        const QString key = fileKey(job.output);
        if (inputs_.contains(key))
            job.refusal =
                format("Output \"%s\" is an input picture and is never overwritten", {job.output});
        else if (outputs_.contains(key))
            job.refusal = format("Output \"%s\" is already the result of \"%s\"",
                                 {job.output, outputs_.value(key)});
        else if (existing_ == ExistingOutput::Fail && exists(job.output))
            job.refusal = format("Output \"%s\" exists already", {job.output});
        else
            job.skip = existing_ == ExistingOutput::Skip && exists(job.output);
        if (job.refusal.isEmpty())
            outputs_.insert(key, job.input);
    }

private:
    ExistingOutput existing_;
    QHash<QString, QString> inputs_;  // key -> name
    QHash<QString, QString> outputs_; // key -> the input it belongs to
};

} // namespace

std::vector<StampJob> planStampJobs(const StampOptions& options,
                                    const std::vector<FoundPicture>& pictures) {
    std::vector<StampJob> jobs;
    jobs.reserve(pictures.size());
    Refusals refusals(options, pictures);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        StampJob job =
            options.outputDir.isEmpty()
                ? StampJob{pictures[i].path, options.output, formatForOutputName(options), {}}
                : inFolder(options, pictures[i], i + 1, pictures.size());
        refusals.check(job);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

} // namespace tessaly
