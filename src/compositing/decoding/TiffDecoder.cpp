#include "compositing/decoding/TiffDecoder.h"

#include "compositing/decoding/tiff/TiffFile.h"
#include "compositing/decoding/tiff/TiffLayout.h"
#include "compositing/decoding/tiff/TiffRgbaReader.h"
#include "compositing/decoding/tiff/TiffSampleReader.h"
#include "compositing/picture/Orientation.h"
#include "compositing/picture/RasterPicture.h"

namespace tessaly {

std::unique_ptr<Picture> decodeTiff(const QByteArray& bytes) {
    TiffFile file(bytes);
    const TiffLayout layout = readLayout(file.tiff());
    QImage stored = readsBySamples(layout) ? readBySamples(file.tiff(), layout)
                                           : readByRgba(file.tiff(), layout);
    return std::make_unique<RasterPicture>(uprightImage(std::move(stored), layout.orientation));
}

} // namespace tessaly
