#include "stamp/StampCommand.h"

#include "about/VersionInfo.h"
#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/PixelBuffer.h"
#include "stamp/BatchConsole.h"
#include "stamp/BatchRunner.h"
#include "stamp/InputList.h"
#include "stamp/OutputPlan.h"
#include "stamp/StampPicture.h"

#include <QDir>
#include <QFileInfo>
#include <thread>

namespace tessaly {

namespace {

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

QString skippedLine(const StampJob& job) {
    return job.input + format(": skipped, \"%s\" exists already", {job.output});
}

void printSkipped(std::FILE* to, std::size_t skipped) {
    if (skipped > 0)
        printLine(to, QStringLiteral("tessaly-stamp: %1 skipped, their results exist already")
                          .arg(skipped == 1 ? QStringLiteral("1 picture")
                                            : QStringLiteral("%1 pictures").arg(skipped)));
}

// What a batch would do, one line a picture on standard output, and the
// refusals and skips as a batch reports them; nothing is written.
int dryRun(const StampOptions& options, const std::vector<StampJob>& jobs,
           const StampConsole& console, std::size_t problems) {
    std::size_t failed = problems, skipped = 0;
    for (const StampJob& job : jobs) {
        if (!job.refusal.isEmpty()) {
            printLine(console.err, job.input + QStringLiteral(": ") + job.refusal);
            ++failed;
        } else if (job.skip) {
            if (!options.quiet)
                printLine(console.err, skippedLine(job));
            ++skipped;
        } else {
            printLine(console.out, job.input + QStringLiteral(" -> ") + job.output);
        }
    }
    printSkipped(console.err, skipped);
    return failed == 0 ? kStampAllDone : kStampSomeFailed;
}

int stampAll(const StampOptions& options, const std::vector<StampJob>& jobs,
             const Bitmap24& watermark, const StampConsole& console, std::size_t problems,
             const std::atomic<bool>& stop) {
    ProgressLine progress(jobs.size(), console.terminal && !options.quiet, console.err);
    BatchConsole report(console.err, progress);
    std::atomic<std::size_t> skipped{0};
    BatchEvents events;
    events.failed = [&](std::size_t item, const QString& message) {
        report.line(jobs[item].input + QStringLiteral(": ") + message);
    };
    events.finished = [&](std::size_t done) { report.progress(done); };
    const StampSettings settings{options.transparency, options.jpeg, options.strip};
    const auto work = [&](std::size_t item) {
        const StampJob& job = jobs[item];
        if (job.skip) {
            ++skipped;
            if (!options.quiet)
                report.line(skippedLine(job));
            return;
        }
        for (const QString& note : stampPicture(job, watermark, settings))
            report.line(job.input + QStringLiteral(": ") + note);
    };
    // Each job keeps up to two picture buffers (the decoded picture and the
    // result) for its next picture, whose first touch would cost more than
    // the decoding.
    setPixelCacheLimit(2 * std::size_t(jobCount(options)));
    const std::size_t failed = runBatch(jobs.size(), jobCount(options), work, events, stop);
    progress.finish();
    printSkipped(console.err, skipped);
    if (stop.load())
        printLine(console.err, QStringLiteral("tessaly-stamp: interrupted"));
    return failed + problems == 0 && !stop.load() ? kStampAllDone : kStampSomeFailed;
}

int stamp(const StampOptions& options, const StampConsole& console, const std::atomic<bool>& stop) {
    const WalkReport inputs = gatherInputs(options);
    if (!options.output.isEmpty() && inputs.pictures.size() > 1)
        throw UsageError(QStringLiteral("-o takes one input picture, not %1; use -d DIR for more")
                             .arg(inputs.pictures.size()));
    for (const QString& problem : inputs.problems)
        printLine(console.err, problem);
    Bitmap24 watermark;
    try {
        watermark = rasterisedWatermark(*loadPicture(options.watermark));
    } catch (const std::exception&) {
        printLine(console.err, options.watermark + QStringLiteral(": ") +
                                   caughtMessage(std::current_exception()));
        return kStampSomeFailed;
    }
    if (!options.outputDir.isEmpty() && !options.dryRun)
        makeOutputFolder(options.outputDir);
    const std::vector<StampJob> jobs = planStampJobs(options, inputs.pictures);
    const std::size_t problems = std::size_t(inputs.problems.size());
    return options.dryRun ? dryRun(options, jobs, console, problems)
                          : stampAll(options, jobs, watermark, console, problems, stop);
}

int usage(const StampConsole& console, const UsageError& e) {
    printLine(console.err,
              QStringLiteral("tessaly-stamp: %1 (see tessaly-stamp --help)").arg(e.message()));
    return kStampUsage;
}

} // namespace

int runStampCommand(const QStringList& arguments, const QString& programPath,
                    const StampConsole& console, const std::atomic<bool>& stop) {
    try {
        const StampOptions options = parseStampOptions(arguments);
        if (options.help) {
            std::fputs(stampHelpText().toLocal8Bit().constData(), console.out);
            return kStampAllDone;
        }
        if (options.version)
            return printVersion(programPath, console);
        return stamp(options, console, stop);
    } catch (const UsageError& e) {
        return usage(console, e);
    } catch (const std::exception&) {
        printLine(console.err,
                  QStringLiteral("tessaly-stamp: ") + caughtMessage(std::current_exception()));
        return kStampSomeFailed;
    }
}

} // namespace tessaly
