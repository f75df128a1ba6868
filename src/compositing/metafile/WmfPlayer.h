#pragma once

#include "compositing/metafile/WmfHeader.h"

#include <QPainter>

namespace tessaly::metafile {

// Plays a wmf onto painter with the picture's window mapped onto target.
// Raises "Metafile is not valid" for a record that lies about its size or
// holds fewer parameters than its function needs.
void playWmf(const QByteArray& bytes, const WmfHeader& header, QPainter& painter,
             const QRectF& target);

} // namespace tessaly::metafile
