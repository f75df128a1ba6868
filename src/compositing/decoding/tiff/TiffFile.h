#pragma once

#include <QByteArray>
#include <tiffio.h>

namespace tessaly {

// A TIFF file held in memory, opened by libtiff for reading. libtiff reads
// the bytes in place (as a mapped file), never beyond them.
class TiffFile {
public:
    // Raises "Invalid image" when libtiff cannot read the first directory.
    explicit TiffFile(const QByteArray& bytes);
    ~TiffFile();
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;

    TIFF* tiff() const { return tif_; }

    // The read position that libtiff's read and seek calls move.
    struct Source {
        const uint8_t* data;
        toff_t size;
        toff_t pos = 0;
    };

private:
    Source source_;
    TIFF* tif_ = nullptr;
};

// The decoder's one error for a file it cannot read.
[[noreturn]] void failTiff();

// No single buffer of a picture within the program's limit needs more than
// this; a damaged header may ask libtiff, or us, for any amount.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(1) << 31;

} // namespace tessaly
