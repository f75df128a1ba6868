#pragma once

#include "compositing/picture/Bitmap24.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaly {

// A watermark made ready for the blend at one weight over a picture of one
// width: each of its rows as a weight and an offset per byte (see
// BlendKernel.h), repeated over a run of whole tiles so that a narrow
// watermark still blends in long runs. While all rows together stay small
// enough for the processor's cache, each row is prepared once, the first time
// it is asked for, and kept; a larger watermark has one row prepared at a time.
class PreparedWatermark {
public:
    // Raises "Bitmaps must be 24 bit" for a watermark of another depth.
    PreparedWatermark(const Bitmap24& watermark, int pictureWidth, int alpha);

    int height() const { return mark_.height(); }
    // Whether the watermark has no pixels, and so covers nothing.
    bool empty() const { return period_ == 0 || mark_.height() == 0; }
    // Whether every row is kept once prepared.
    bool keepsRows() const { return keep_; }

    // Blends watermark row `row` into one picture row of `bytes` bytes,
    // starting at a tile's first column. Without kept rows, a row other than
    // the last one asked for is prepared again.
    void blendInto(uint8_t* pictureRow, std::size_t bytes, int row);

private:
    struct Row {
        std::vector<uint16_t> weight, offset;
    };
    Row& prepared(int row);
    void prepare(int row, Row& into);

    const Bitmap24& mark_;
    int alpha_;
    const uint8_t* key_ = nullptr;
    std::size_t period_, run_;
    bool keep_;
    std::vector<uint8_t> isKey_;
    std::vector<Row> rows_; // all rows when kept, else one; empty until prepared
    int last_ = -1;         // the row prepared last
};

} // namespace tessaly
