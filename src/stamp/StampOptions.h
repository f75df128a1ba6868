#pragma once

#include "platform/Error.h"
#include "stamp/JpegWriter.h"
#include "stamp/OutputFormat.h"

#include <optional>
#include <QStringList>

namespace tessaly {

// What happens to a picture whose output exists already (--existing).
enum class ExistingOutput { Replace, Skip, Fail };

// What the command line of tessaly-stamp asks for.
struct StampOptions {
    QString watermark;
    int transparency = 125; // the track bar's position: the base's share in 256ths
    QString output;         // -o, for one input
    QString outputDir;      // -d, for any number of inputs
    std::optional<OutputFormat> format;
    JpegSettings jpeg;
    int jobs = 0; // 0: one per core
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool recursive = false;             // -r: folders among the inputs are walked
    bool followLinks = false;           // and links to folders followed
    std::optional<QString> namePattern; // --name; the default when not given
    ExistingOutput existing = ExistingOutput::Replace;
    QString filesFrom;         // --files-from, "-" for standard input
    bool nulSeparated = false; // -0: its names end with a zero byte, not a line's end
    bool dryRun = false;
    bool strip = false;
    QStringList inputs;
};

// A command line that cannot be run as written; exit status 2.
class UsageError : public Error {
public:
    using Error::Error;
};

// Reads the arguments (the program's name first). Raises UsageError with a
// one-line description of the first problem; --help and --version need
// nothing else.
StampOptions parseStampOptions(const QStringList& arguments);

// The text of --help.
QString stampHelpText();

// The most jobs -j accepts; each job holds a few pictures in memory.
constexpr int kMaxJobs = 64;

} // namespace tessaly
