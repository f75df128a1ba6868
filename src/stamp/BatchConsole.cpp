#include "stamp/BatchConsole.h"

namespace tessaly {

void printLine(std::FILE* to, const QString& text) {
    std::fprintf(to, "%s\n", text.toLocal8Bit().constData());
}

void BatchConsole::line(const QString& text) {
    std::lock_guard hold(lock_);
    progress_.clear();
    printLine(err_, text);
}

void BatchConsole::progress(std::size_t done) {
    std::lock_guard hold(lock_);
    progress_.update(done);
}

} // namespace tessaly
