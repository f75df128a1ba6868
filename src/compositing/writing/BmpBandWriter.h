#pragma once

#include "compositing/picture/Bitmap24.h"
#include "platform/FileReplacer.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <QString>
#include <thread>

namespace tessaly {

// Writes a bitmap as saveBmp does, byte for byte, but a band of rows at a
// time as the rows become final: a thread of its own copies each band into
// the file and has the system start putting it on disk at once, so that the
// writing overlaps whatever makes the next rows. The name holds the old file
// until commit(), which waits until every byte is on disk before the new file
// takes its place; an abandoned or failed writer leaves no temporary file.
// Where the earlier file has to be written in place (its folder takes no new
// file), nothing is written before commit(), so that a picture that fails to
// decode leaves that file as it was.
class BmpBandWriter {
public:
    // Makes the temporary file for this bitmap. Its pixel memory must stay
    // where it is, at the same size, until commit() or destruction; the
    // Bitmap24 object itself may be moved. Raises as saveBmp does.
    BmpBandWriter(const QString& path, const Bitmap24& bitmap);
    ~BmpBandWriter();
    BmpBandWriter(const BmpBandWriter&) = delete;
    BmpBandWriter& operator=(const BmpBandWriter&) = delete;

    // Rows first to end - 1 (counted from the top) hold their final bytes and
    // are not changed again.
    void write(int first, int end);
    // Waits for the bands, flushes the file to disk and puts it in place.
    // Raises "Stream write error" when any band could not be written.
    void commit();

private:
    struct Band {
        int first, end;
    };
    void writeBands();
    void writeBand(Band band);
    void stop(bool abandon);

    const uint8_t* bottomRow_; // the bitmap's memory, the last row first
    int height_;
    std::size_t rowSize_;
    FileReplacer file_;
    std::array<uint8_t, 54> headers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Band> bands_;
    bool closing_ = false;
    std::exception_ptr error_;
    std::thread writer_;
};

} // namespace tessaly
