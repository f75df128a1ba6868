#include "compositing/MetafileDecoder.h"

#include "platform/Error.h"

namespace tessaly {

// Metafile playback is not built yet.
std::unique_ptr<Picture> decodeWmf(const QByteArray&) {
    throw Error(QStringLiteral("Metafile pictures (.wmf) are not supported yet"));
}

std::unique_ptr<Picture> decodeEmf(const QByteArray&) {
    throw Error(QStringLiteral("Metafile pictures (.emf) are not supported yet"));
}

} // namespace tessaly
