#pragma once

#include "compositing/picture/Bitmap24.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tessaly {

// A few band bitmaps that go round between the thread that fills them with a
// picture's rows and a thread of the relay's own that works on each band once
// it is full, so that the two overlap and the memory stays at a few bands,
// whatever the picture's size. Bands are worked on in the order they are
// filled.
class BandRelay {
public:
    // The work done on each full band; its rows are the picture's rows from
    // firstRow on. An error it raises ends the relay: later bands are dropped
    // and the error comes back from take() and finish().
    using Work = std::function<void(Bitmap24& band, int firstRow)>;

    BandRelay(int width, int height, Work work);
    // Abandons the bands not yet worked on and ends the thread.
    ~BandRelay();
    BandRelay(const BandRelay&) = delete;
    BandRelay& operator=(const BandRelay&) = delete;

    // A free band for the rows from firstRow on, as high as a band or the rest
    // of the picture; waits while every band is being worked on.
    Bitmap24& take(int firstRow);
    // The band last taken is full: its work may begin.
    void pass();
    // Waits until every band passed has been worked on, and ends the thread.
    void finish();

private:
    static constexpr int kBands = 3;
    struct Slot {
        Bitmap24 band;
        int firstRow = 0;
    };
    void run();
    void stop(bool abandon);
    [[noreturn]] void raise();

    int width_, height_, bandRows_;
    Work work_;
    std::array<Slot, kBands> slots_;
    int taken_ = -1;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> free_;
    std::deque<int> full_;
    bool stopping_ = false;
    std::exception_ptr error_;
    std::thread thread_;
};

} // namespace tessaly
