#pragma once

#include "stamp/ProgressLine.h"

#include <cstdio>
#include <mutex>
#include <QString>

namespace tessaly {

// The error stream that the workers of a batch share: whole lines one at a
// time, with the progress line stepping aside for them.
class BatchConsole {
public:
    BatchConsole(std::FILE* err, ProgressLine& progress) : err_(err), progress_(progress) {}
    void line(const QString& text);
    void progress(std::size_t done);

private:
    std::mutex lock_;
    std::FILE* err_;
    ProgressLine& progress_;
};

// Writes the text and a line's end in the local encoding.
void printLine(std::FILE* to, const QString& text);

} // namespace tessaly
