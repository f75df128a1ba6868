// The batch's workers: a bounded number of pictures in flight, failures that
// do not stop the others, a stop that starts nothing new; and the progress text.

#include "platform/Error.h"
#include "stamp/BatchRunner.h"
#include "stamp/ProgressLine.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace tessaly;

TEST(BatchRunner, KeepsAtMostItsWorkersBusyAndReportsEveryFailure) {
    for (int threads : {1, 3}) {
        std::atomic<int> inFlight{0}, most{0};
        std::vector<std::atomic<int>> runs(40);
        std::vector<std::size_t> failed;
        std::size_t lastDone = 0;
        BatchEvents events;
        events.failed = [&](std::size_t item, const QString& message) {
            failed.push_back(item);
            EXPECT_EQ(message, QStringLiteral("bad %1").arg(item));
        };
        events.finished = [&](std::size_t done) { lastDone = done; };
        const auto work = [&](std::size_t item) {
            const int now = ++inFlight;
            for (int seen = most; seen < now && !most.compare_exchange_weak(seen, now);) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ++runs[item];
            --inFlight;
            if (item % 7 == 3)
                throw Error(QStringLiteral("bad %1").arg(item));
        };
        const std::atomic<bool> stop{false};
        EXPECT_EQ(runBatch(runs.size(), threads, work, events, stop), 6u);
        EXPECT_LE(most.load(), threads);
        EXPECT_EQ(lastDone, runs.size());
        std::sort(failed.begin(), failed.end());
        EXPECT_EQ(failed, (std::vector<std::size_t>{3, 10, 17, 24, 31, 38}));
        for (const auto& r : runs)
            EXPECT_EQ(r.load(), 1);
    }
}

TEST(BatchRunner, StartsNothingOnceStopped) {
    std::atomic<bool> stop{false};
    std::atomic<int> started{0};
    const auto work = [&](std::size_t) {
        if (++started == 3)
            stop = true;
    };
    EXPECT_EQ(runBatch(100, 1, work, {}, stop), 0u);
    EXPECT_EQ(started.load(), 3);
    EXPECT_EQ(runBatch(
                  100, 2, [](std::size_t) { throw std::bad_alloc(); }, {}, stop),
              0u);
}

TEST(ProgressLine, ShowsCountRateAndTimeLeft) {
    EXPECT_EQ(progressText(0, 500, 0.0), "0/500");
    EXPECT_EQ(progressText(12, 500, 4.0), "12/500  3.0 pictures/s  2:43 left");
    EXPECT_EQ(progressText(1, 10000, 1.0), "1/10000  1.0 pictures/s  2:46:39 left");
    EXPECT_EQ(progressText(8, 8, 2.0), "8/8  4.0 pictures/s");
}
