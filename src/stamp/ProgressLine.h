#pragma once

#include <chrono>
#include <cstdio>
#include <QString>

namespace tessaly {

// The progress text: "done/total", the pictures per second so far and the
// time the rest will take at that rate ("12/500  3.4 pictures/s  2:23 left").
QString progressText(std::size_t done, std::size_t total, double seconds);

// One line on a terminal, rewritten in place as pictures finish. It shows
// nothing when disabled (no terminal, or --quiet), and steps aside for the
// error lines that the batch prints in between.
class ProgressLine {
public:
    ProgressLine(std::size_t total, bool enabled, std::FILE* out);
    void update(std::size_t done);
    // Removes the line, so that other text starts at the line's beginning.
    void clear();
    // Leaves the last state on its own line.
    void finish();

private:
    std::size_t total_;
    bool enabled_;
    bool shown_ = false;
    std::FILE* out_;
    QString last_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace tessaly
