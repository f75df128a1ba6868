#pragma once

#include "compositing/picture/Bitmap24.h"

namespace tessaly {

// Told by a decoder that decodes a picture straight into a 24-bit bitmap (an
// upright JPEG photo, an opaque PNG) each time a band of rows holds its final
// pixels, top row first, so that the caller can work on them while later rows
// decode.
// Decoders of other pictures never call it.
class DecodedRows {
public:
    virtual ~DecodedRows() = default;
    // Rows 0 to rows - 1 of bitmap, counted from the top, are final; the last
    // call has rows == bitmap.height(). The decoding is not over until the
    // decoder returns: it can still fail. An error raised here stops it.
    virtual void rowsDecoded(Bitmap24& bitmap, int rows) = 0;
    // The decoding failed after rows were announced; told while the bitmap's
    // memory is still there, which must not be used after this returns.
    virtual void decodingFailed() = 0;
};

} // namespace tessaly
