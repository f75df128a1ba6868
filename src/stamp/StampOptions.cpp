#include "stamp/StampOptions.h"

#include "stamp/NamePattern.h"

#include <QCommandLineParser>

namespace tessaly {

namespace {

struct Parser {
    QCommandLineParser qt;
    QCommandLineOption watermark{{"w", "watermark"}, {}, "FILE"};
    QCommandLineOption transparency{{"t", "transparency"}, {}, "A"};
    QCommandLineOption output{{"o", "output"}, {}, "FILE"};
    QCommandLineOption outputDir{{"d", "output-dir"}, {}, "DIR"};
    QCommandLineOption format{"format", {}, "FORMAT"};
    QCommandLineOption quality{"quality", {}, "N"};
    QCommandLineOption jobs{{"j", "jobs"}, {}, "N"};
    QCommandLineOption quiet{{"q", "quiet"}};
    QCommandLineOption help{"help"};
    QCommandLineOption version{"version"};
    QCommandLineOption recursive{{"r", "recursive"}};
    QCommandLineOption followLinks{"follow-links"};
    QCommandLineOption name{"name", {}, "PATTERN"};
    QCommandLineOption existing{"existing", {}, "WHAT"};
    QCommandLineOption filesFrom{"files-from", {}, "FILE"};
    QCommandLineOption nul{{"0", "null"}};
    QCommandLineOption dryRun{{"n", "dry-run"}};
    QCommandLineOption strip{"strip"};
    QCommandLineOption sampling{"sampling", {}, "S"};

    Parser() {
        qt.addOptions({watermark, transparency, output, outputDir, format, quality, jobs, quiet,
                       help, version, recursive, followLinks, name, existing, filesFrom, nul,
                       dryRun, strip, sampling});
    }
};

// The choice that the option's last value names, in any letter case;
// fallback when the option is not given.
template <typename T, std::size_t N>
T choice(const QCommandLineParser& qt, const QCommandLineOption& option,
         const std::pair<const char*, T> (&choices)[N], T fallback) {
    if (!qt.isSet(option))
        return fallback;
    QStringList names;
    for (const auto& [name, value] : choices) {
        if (qt.value(option).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return value;
        names << QLatin1String(name);
    }
    throw UsageError(QStringLiteral("--%1 takes %2 or %3, not \"%4\"")
                         .arg(option.names().last(), names.mid(0, names.size() - 1).join(", "),
                              names.last(), qt.value(option)));
}

constexpr std::pair<const char*, ExistingOutput> kExisting[] = {
    {"replace", ExistingOutput::Replace},
    {"skip", ExistingOutput::Skip},
    {"fail", ExistingOutput::Fail},
};
constexpr std::pair<const char*, ChromaSampling> kSampling[] = {
    {"444", ChromaSampling::Full444},
    {"422", ChromaSampling::Half422},
    {"420", ChromaSampling::Quarter420},
};

// The option's last value as a whole number within [low, high].
int number(const QCommandLineParser& qt, const QCommandLineOption& option, int low, int high,
           int fallback) {
    if (!qt.isSet(option))
        return fallback;
    bool ok = false;
    const int value = qt.value(option).toInt(&ok);
    if (!ok || value < low || value > high)
        throw UsageError(QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                             .arg(option.names().last())
                             .arg(low)
                             .arg(high)
                             .arg(qt.value(option)));
    return value;
}

void checkOutputs(const StampOptions& o) {
    if (o.watermark.isEmpty())
        throw UsageError(QStringLiteral("a watermark is required (-w FILE)"));
    if (o.inputs.isEmpty() && o.filesFrom.isEmpty())
        throw UsageError(QStringLiteral("no pictures to stamp"));
    if (o.nulSeparated && o.filesFrom.isEmpty())
        throw UsageError(QStringLiteral("-0 goes with --files-from FILE"));
    if (!o.output.isEmpty() && !o.outputDir.isEmpty())
        throw UsageError(QStringLiteral("-o and -d cannot be used together"));
    if (o.output.isEmpty() && o.outputDir.isEmpty())
        throw UsageError(QStringLiteral("an output is required (-o FILE or -d DIR)"));
    if (!o.output.isEmpty() && o.inputs.size() > 1)
        throw UsageError(QStringLiteral("-o takes one input picture, not %1; use -d DIR for more")
                             .arg(o.inputs.size()));
    if (!o.output.isEmpty() && o.namePattern)
        throw UsageError(QStringLiteral("--name names the results in -d DIR; -o names its own"));
    if (o.namePattern) {
        if (const std::optional<QString> problem = namePatternProblem(*o.namePattern))
            throw UsageError(*problem);
    }
}

} // namespace

StampOptions parseStampOptions(const QStringList& arguments) {
    Parser p;
    if (!p.qt.parse(arguments))
        throw UsageError(p.qt.errorText());
    StampOptions o;
    o.help = p.qt.isSet(p.help);
    o.version = p.qt.isSet(p.version);
    if (o.help || o.version)
        return o;
    o.watermark = p.qt.value(p.watermark);
    o.output = p.qt.value(p.output);
    o.outputDir = p.qt.value(p.outputDir);
    o.quiet = p.qt.isSet(p.quiet);
    o.inputs = p.qt.positionalArguments();
    o.transparency = number(p.qt, p.transparency, 0, 250, 125);
    o.jpeg.quality = number(p.qt, p.quality, 1, 100, 92);
    o.jpeg.sampling = choice(p.qt, p.sampling, kSampling, ChromaSampling::Quarter420);
    o.jobs = number(p.qt, p.jobs, 1, kMaxJobs, 0);
    o.recursive = p.qt.isSet(p.recursive);
    o.followLinks = p.qt.isSet(p.followLinks);
    if (p.qt.isSet(p.name))
        o.namePattern = p.qt.value(p.name);
    o.existing = choice(p.qt, p.existing, kExisting, ExistingOutput::Replace);
    o.filesFrom = p.qt.value(p.filesFrom);
    o.nulSeparated = p.qt.isSet(p.nul);
    o.dryRun = p.qt.isSet(p.dryRun);
    o.strip = p.qt.isSet(p.strip);
    if (p.qt.isSet(p.format)) {
        o.format = formatNamed(p.qt.value(p.format));
        if (!o.format)
            throw UsageError(QStringLiteral("--format takes bmp, png, jpeg or tiff, not \"%1\"")
                                 .arg(p.qt.value(p.format)));
    }
    checkOutputs(o);
    return o;
}

QString stampHelpText() {
    // The GNU layout, from which the manual page is made.
    return QStringLiteral(
        "Usage: tessaly-stamp -w WATERMARK [options] -o OUTPUT PICTURE\n"
        "  or:  tessaly-stamp -w WATERMARK [options] -d FOLDER PICTURE...\n"
        "Tiles the watermark over each picture, as Tessaly's window does, and saves the result.\n"
        "\n"
        "Options:\n"
        "  -w, --watermark FILE     the watermark picture (required); its bottom-left\n"
        "                           pixel's colour is left out\n"
        "  -t, --transparency A     0 to 250, default 125: the higher, the fainter the\n"
        "                           watermark\n"
        "  -o, --output FILE        the result of one picture\n"
        "  -d, --output-dir DIR     the folder for the results of many pictures (made if\n"
        "                           missing); each is named after its picture\n"
        "      --format FORMAT      bmp, png, jpeg or tiff; by default the output name's\n"
        "                           extension (BMP for another), with -d the picture's own\n"
        "                           format where it is one of these, else BMP\n"
        "      --quality N          JPEG quality, 1 to 100, default 92\n"
        "      --sampling S         JPEG colour sampling: 444, 422 or 420 (the default)\n"
        "      --strip              write no metadata (EXIF, XMP, IPTC, ICC profile,\n"
        "                           resolution) into the results\n"
        "  -r, --recursive          stamp the pictures in the folders given, and in their\n"
        "                           folders; with -d the results keep the folder tree\n"
        "      --follow-links       with -r, follow symbolic links to folders too\n"
        "      --name PATTERN       the results' names in -d DIR, default {stem}.{ext}:\n"
        "                           {stem} the picture's name without its extension,\n"
        "                           {ext} the result format's, {n} the picture's number,\n"
        "                           {parent} its folder's name\n"
        "      --existing WHAT      when a result's file exists: replace it (the default),\n"
        "                           skip the picture, or fail it\n"
        "      --files-from FILE    also stamp the pictures named in FILE, one a line\n"
        "                           (- for standard input)\n"
        "  -0, --null               the names in --files-from end with a zero byte\n"
        "  -n, --dry-run            print each picture and its result, write nothing\n"
        "  -j, --jobs N             pictures stamped at once, default one per core\n"
        "  -q, --quiet              no progress line, no line for each skipped picture\n"
        "      --help               show this help\n"
        "      --version            show the product name and version\n"
        "\n"
        "Pictures: bmp, jpg, jpeg, png, gif, ico, wmf, emf, tif, tiff.\n"
        "\n"
        "Exit status:\n"
        "  0  all stamped (or skipped)\n"
        "  1  some failed, or a folder could not be read\n"
        "  2  the command line is wrong\n");
}

} // namespace tessaly
