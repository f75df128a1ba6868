#include "stamp/metadata/MetadataReader.h"

namespace tessaly {

PhotoMetadata readPhotoMetadata(const QByteArray& file) {
    if (file.startsWith("\xFF\xD8"))
        return readJpegMetadata(file);
    if (file.startsWith(QByteArray("\x89PNG\r\n\x1A\n", 8)))
        return readPngMetadata(file);
    if (file.startsWith(QByteArray("II*\0", 4)) || file.startsWith(QByteArray("MM\0*", 4)))
        return readTiffMetadata(file);
    return {};
}

} // namespace tessaly
