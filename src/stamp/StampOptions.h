#pragma once

#include "platform/Error.h"
#include "stamp/OutputFormat.h"

#include <optional>
#include <QStringList>

namespace tessaly {

// What the command line of tessaly-stamp asks for.
struct StampOptions {
    QString watermark;
    int transparency = 125; // the track bar's position: the base's share in 256ths
    QString output;         // -o, for one input
    QString outputDir;      // -d, for any number of inputs
    std::optional<OutputFormat> format;
    int quality = 92;
    int jobs = 0; // 0: one per core
    bool quiet = false;
    bool help = false;
    bool version = false;
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
