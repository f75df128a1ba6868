#include "stamp/BatchRunner.h"

#include "platform/Error.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace tessaly {

QString caughtMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return innermostMessage(e);
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

std::size_t runBatch(std::size_t count, int threads, const std::function<void(std::size_t)>& work,
                     const BatchEvents& events, const std::atomic<bool>& stop) {
    std::atomic<std::size_t> next{0};
    std::mutex reporting;
    std::size_t done = 0, failures = 0;
    auto worker = [&] {
        for (std::size_t item; !stop.load(std::memory_order_acquire) && (item = next++) < count;) {
            QString message;
            try {
                work(item);
            } catch (...) {
                message = caughtMessage(std::current_exception());
            }
            std::lock_guard lock(reporting);
            if (!message.isNull()) {
                ++failures;
                if (events.failed)
                    events.failed(item, message);
            }
            ++done;
            if (events.finished)
                events.finished(done);
        }
    };
    const auto workers =
        std::size_t(std::clamp<std::size_t>(count, 1, std::size_t(std::max(threads, 1))));
    std::vector<std::jthread> pool;
    for (std::size_t i = 1; i < workers; ++i)
        pool.emplace_back(worker);
    worker(); // the calling thread is a worker too
    pool.clear();
    return failures;
}

} // namespace tessaly
