#pragma once

// The program's main job in one place, for the window and for tessaly-stamp
// alike, so that both make the same bytes from the same pictures: each picture
// is rasterised onto a fresh white bitmap of its natural size, the watermark is
// colour-keyed by its bottom-left pixel, and it is tiled over the base with the
// track bar's weight.

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"
#include "platform/Error.h"

#include <memory>

namespace tessaly {

// The refusal of a watermark that is not strictly smaller than the base in
// both directions. The window shows it as a warning rather than an error.
class WatermarkTooLarge : public Error {
public:
    WatermarkTooLarge();
};

// The picture drawn onto a white bitmap of its natural size.
Bitmap24 rasterisedPicture(const Picture& picture);
// The same, marked colour-keyed: the work bitmap of a watermark.
Bitmap24 rasterisedWatermark(const Picture& picture);

// Raises WatermarkTooLarge unless the watermark may be tiled over the base.
void requireWatermarkFits(QSize base, QSize watermark);

// The result: base rasterised and blended with the rasterised watermark at
// weight alpha (0 to 250, the base's share in 256ths). The size is checked
// before the base is rasterised, so a refused pair costs no work.
Bitmap24 composeResult(const Picture& base, const Bitmap24& watermark, int alpha);
Bitmap24 composeResult(const Picture& base, const Picture& watermark, int alpha);
// The same for a base picture that is not needed afterwards: one that holds
// its pixels as a 24-bit bitmap hands them over, and the blend works in them
// without a picture-sized copy. The bytes are those of the other forms.
Bitmap24 composeResult(std::unique_ptr<Picture> base, const Bitmap24& watermark, int alpha);

} // namespace tessaly
