#pragma once

// A picture drawn as the blend sees it: onto a fresh white bitmap of its
// natural size.

#include "compositing/decoding/PictureLoader.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/Picture.h"

namespace tessaly::test {

inline Bitmap24 rasterised(const Picture& picture) {
    Bitmap24 bitmap;
    bitmap.resize(picture.naturalSize().width(), picture.naturalSize().height());
    picture.rasterise(bitmap);
    return bitmap;
}

inline Bitmap24 rasterisedFile(const QString& path) {
    return rasterised(*loadPicture(path));
}

} // namespace tessaly::test
