#pragma once

#include "compositing/picture/Bitmap24.h"
#include "platform/FileReplacer.h"

#include <array>
#include <QString>

namespace tessaly {

// Writes a BMP file as saveBmp does, byte for byte, from bands of a picture's
// rows that arrive while the picture is still being made, so that no bitmap of
// the whole picture is needed: each band goes to its place in the file and the
// system is asked to start putting it on disk at once, so that commit() has
// little left to wait for. The name holds the old file until commit(); an
// abandoned or failed writer leaves no temporary file.
class BmpBandWriter {
public:
    // Makes the temporary file for a 24-bit picture of this size. Raises as
    // saveBmp does.
    BmpBandWriter(const QString& path, int width, int height);

    // Whether the earlier file itself is the one written (its folder takes no
    // new file), so that a band written before the picture is certain would
    // spoil it: a caller that may still fail should then write nothing.
    bool writesInPlace() const { return file_.writesInPlace(); }

    // The band's rows are the picture's rows from firstRow on (counted from
    // the top). Raises "Stream write error".
    void write(const Bitmap24& band, int firstRow);
    // Writes the headers, flushes the file to disk and puts it in place. The
    // caller has written every row.
    void commit();

private:
    int height_;
    std::size_t rowSize_;
    std::array<uint8_t, 54> headers_;
    FileReplacer file_;
};

} // namespace tessaly
