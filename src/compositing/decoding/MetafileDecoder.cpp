#include "compositing/decoding/MetafileDecoder.h"

#include "compositing/metafile/EmfHeader.h"
#include "compositing/metafile/EmfPlayer.h"
#include "compositing/metafile/MetafilePicture.h"
#include "compositing/metafile/WmfPlayer.h"

#include <QImage>
#include <QPainter>

namespace tessaly {

using metafile::MetafilePicture;

namespace {

// Plays the whole file once at a small size while loading, so that a file
// whose records are broken fails to load instead of failing later in the
// blend; the parsing is the same at every size.
constexpr int kCheckSize = 32;

std::unique_ptr<Picture> checkedPicture(QSize natural, MetafilePicture::Player player) {
    auto picture = std::make_unique<MetafilePicture>(natural, std::move(player));
    picture->render(natural.boundedTo(QSize(kCheckSize, kCheckSize)), Qt::white);
    return picture;
}

} // namespace

std::unique_ptr<Picture> decodeWmf(const QByteArray& bytes) {
    const auto header = metafile::readWmfHeader(bytes);
    return checkedPicture(header.naturalSize, [bytes, header](QPainter& p, const QRectF& target) {
        metafile::playWmf(bytes, header, p, target);
    });
}

std::unique_ptr<Picture> decodeEmf(const QByteArray& bytes) {
    const auto header = metafile::readEmfHeader(bytes);
    return checkedPicture(header.naturalSize, [bytes, header](QPainter& p, const QRectF& target) {
        metafile::playEmf(bytes, header, p, target);
    });
}

} // namespace tessaly
