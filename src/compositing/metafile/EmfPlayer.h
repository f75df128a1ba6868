#pragma once

#include "compositing/metafile/EmfHeader.h"

#include <QPainter>

namespace tessaly::metafile {

// Plays an emf onto painter with its frame mapped onto target. Raises
// "Metafile is not valid" for a record that lies about its size or holds
// fewer parameters than its type needs.
void playEmf(const QByteArray& bytes, const EmfHeader& header, QPainter& painter,
             const QRectF& target);

} // namespace tessaly::metafile
