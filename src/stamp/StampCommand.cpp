#include "stamp/StampCommand.h"

#include "about/VersionInfo.h"
#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/PixelBuffer.h"
#include "stamp/BatchRunner.h"
#include "stamp/OutputPlan.h"
#include "stamp/ProgressLine.h"
#include "stamp/StampPicture.h"

#include <QDir>
#include <QFileInfo>
#include <thread>

namespace tessaly {

namespace {

void printLine(std::FILE* to, const QString& text) {
    std::fprintf(to, "%s\n", text.toLocal8Bit().constData());
}

int printVersion(const QString& programPath, const StampConsole& console) {
    TEXEVersionData data;
    GetEXEVersionData(programPath, data);
    printLine(console.out, data.ProductName + QLatin1Char(' ') +
                               formatVersionNumber(GetFileVersionNumber(programPath)));
    return kStampAllDone;
}

void makeOutputFolder(const QString& folder) {
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw Error(format("Cannot create folder \"%s\"", {folder}));
}

int jobCount(const StampOptions& options) {
    if (options.jobs > 0)
        return options.jobs;
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

int stampAll(const StampOptions& options, const Bitmap24& watermark, const StampConsole& console,
             const std::atomic<bool>& stop) {
    const std::vector<StampJob> jobs = planStampJobs(options);
    ProgressLine progress(jobs.size(), console.terminal && !options.quiet, console.err);
    BatchEvents events;
    events.failed = [&](std::size_t item, const QString& message) {
        progress.clear();
        printLine(console.err, jobs[item].input + QStringLiteral(": ") + message);
    };
    events.finished = [&](std::size_t done) { progress.update(done); };
    const auto work = [&](std::size_t item) {
        stampPicture(jobs[item], watermark, options.transparency, options.quality);
    };
    // Each job keeps up to two picture buffers (the decoded picture and the
    // result) for its next picture, whose first touch would cost more than
    // the decoding.
    setPixelCacheLimit(2 * std::size_t(jobCount(options)));
    const std::size_t failed = runBatch(jobs.size(), jobCount(options), work, events, stop);
    progress.finish();
    if (stop.load())
        printLine(console.err, QStringLiteral("tessaly-stamp: interrupted"));
    return failed == 0 && !stop.load() ? kStampAllDone : kStampSomeFailed;
}

int stamp(const StampOptions& options, const StampConsole& console, const std::atomic<bool>& stop) {
    Bitmap24 watermark;
    try {
        watermark = rasterisedWatermark(*loadPicture(options.watermark));
    } catch (const std::exception&) {
        printLine(console.err, options.watermark + QStringLiteral(": ") +
                                   caughtMessage(std::current_exception()));
        return kStampSomeFailed;
    }
    if (!options.outputDir.isEmpty())
        makeOutputFolder(options.outputDir);
    return stampAll(options, watermark, console, stop);
}

} // namespace

int runStampCommand(const QStringList& arguments, const QString& programPath,
                    const StampConsole& console, const std::atomic<bool>& stop) {
    StampOptions options;
    try {
        options = parseStampOptions(arguments);
    } catch (const UsageError& e) {
        printLine(console.err,
                  QStringLiteral("tessaly-stamp: %1 (see tessaly-stamp --help)").arg(e.message()));
        return kStampUsage;
    }
    try {
        if (options.help) {
            std::fputs(stampHelpText().toLocal8Bit().constData(), console.out);
            return kStampAllDone;
        }
        if (options.version)
            return printVersion(programPath, console);
        return stamp(options, console, stop);
    } catch (const std::exception&) {
        printLine(console.err,
                  QStringLiteral("tessaly-stamp: ") + caughtMessage(std::current_exception()));
        return kStampSomeFailed;
    }
}

} // namespace tessaly
