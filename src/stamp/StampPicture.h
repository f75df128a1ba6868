#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/OutputPlan.h"

namespace tessaly {

// Stamps one picture of a batch: loads it only now, so that a batch holds no
// more pictures than it has jobs running, composes it with the watermark as the
// window does, and writes the result. Raises with the text the window would
// show, or the job's refusal.
void stampPicture(const StampJob& job, const Bitmap24& watermark, int alpha, int quality);

} // namespace tessaly
