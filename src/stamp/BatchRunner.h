#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <QString>

namespace tessaly {

// What a batch reports while it runs. The runner calls these one at a time
// (under its own lock), from whichever worker finished the item.
struct BatchEvents {
    std::function<void(std::size_t item, const QString& message)> failed;
    std::function<void(std::size_t done)> finished; // after each item, failed or not
};

// Runs work(i) for every item 0..count-1 on `threads` workers, each taking
// the next item when it is free, so at most `threads` items are in progress
// at any time whatever the count. An error raised by one item is reported
// and the others go on. Once stop is set no further item is started; the
// items under way finish. Returns the number of items that failed.
std::size_t runBatch(std::size_t count, int threads, const std::function<void(std::size_t)>& work,
                     const BatchEvents& events, const std::atomic<bool>& stop);

// The message of an error caught at a worker's top.
QString caughtMessage(std::exception_ptr error);

} // namespace tessaly
