#pragma once

#include <QString>

namespace tessaly {

// The text without its leading and trailing characters of code 32 or below
// (spaces, line breaks and other control characters).
inline QString trimControl(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace tessaly
