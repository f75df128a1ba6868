#pragma once

#include <atomic>
#include <cstdio>
#include <QStringList>

namespace tessaly {

enum StampExit { kStampAllDone = 0, kStampSomeFailed = 1, kStampUsage = 2 };

// Where tessaly-stamp writes, and whether its error stream is a terminal
// (the progress line is shown only there).
struct StampConsole {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool terminal = false;
};

// The whole command: reads the arguments (the program's name first), stamps
// every picture and returns the exit status. programPath is the executable
// whose version block --version reads. Once stop is set no further picture is
// started.
int runStampCommand(const QStringList& arguments, const QString& programPath,
                    const StampConsole& console, const std::atomic<bool>& stop);

} // namespace tessaly
