#include "compositing/decoding/tiff/TiffRgbaReader.h"

#include "compositing/decoding/tiff/TiffFile.h"
#include "compositing/picture/RasterPicture.h"

#include <algorithm>

namespace tessaly {

namespace {

// libtiff delivers red in the low byte and premultiplied colour; the picture
// keeps QRgb values with straight alpha.
void toStraightArgb(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t p = row[x];
            const unsigned a = TIFFGetA(p);
            unsigned r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p);
            if (a != 0 && a != 255) {
                r = std::min(255u, (r * 255 + a / 2) / a);
                g = std::min(255u, (g * 255 + a / 2) / a);
                b = std::min(255u, (b * 255 + a / 2) / a);
            }
            row[x] = qRgba(int(r), int(g), int(b), int(a));
        }
    }
}

} // namespace

QImage readByRgba(TIFF* tif, const TiffLayout& layout) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message))
        failTiff();
    // libtiff fills the whole raster, or fails.
    QImage image = RasterPicture::newTransparent(int(layout.width), int(layout.height),
                                                 RasterPicture::Fill::None);
    auto* raster = reinterpret_cast<uint32_t*>(image.bits());
    // Asked for the file's own orientation, libtiff neither flips nor turns:
    // the rows come as stored, top row first. (Asked for top-left, it would
    // flip for 2 to 4, and flip 5 to 8 without turning them.)
    if (!TIFFReadRGBAImageOriented(tif, layout.width, layout.height, raster, layout.orientation, 1))
        failTiff();
    toStraightArgb(image);
    return image;
}

} // namespace tessaly
