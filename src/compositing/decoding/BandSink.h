#pragma once

#include "compositing/picture/Bitmap24.h"

namespace tessaly {

// Takes the rows of a picture that decodes straight into the blend's 24-bit
// form (an upright JPEG photo, an opaque PNG without interlacing) a band at a
// time, in band bitmaps of its own, so that no bitmap of the whole picture is
// ever made: the caller works on each band while later rows decode. Decoders
// of other pictures never call it.
class BandSink {
public:
    virtual ~BandSink() = default;
    // The picture's size, once it is known and before any row is decoded.
    // Returning false declines the bands: the picture is then decoded whole,
    // as without a sink. An error raised here stops the decoding.
    virtual bool begin(int width, int height) = 0;
    // The bitmap that receives the rows from firstRow on (counted from the
    // top): as wide as the picture, and as high as the band it takes, which
    // reaches at most to the picture's last row. Its row r is picture row
    // firstRow + r. An error raised here stops the decoding.
    virtual Bitmap24& band(int firstRow) = 0;
    // The band last handed out holds its final pixels. The decoding is not
    // over until the decoder returns: it can still fail.
    virtual void bandDecoded() = 0;
    // The decoding failed after begin() took the bands: told before the
    // decoder raises its error.
    virtual void decodingFailed() = 0;
};

} // namespace tessaly
