#pragma once

#include "compositing/picture/Bitmap24.h"
#include "stamp/JpegWriter.h"
#include "stamp/OutputPlan.h"

#include <QStringList>

namespace tessaly {

// What every picture of a batch is stamped with, besides the watermark.
struct StampSettings {
    int alpha = 125; // the track bar's position
    JpegSettings jpeg;
    bool strip = false; // no metadata in the results
};

// Stamps one picture of a batch: loads it only now, so that a batch holds no
// more pictures than it has jobs running, composes it with the watermark as the
// window does, and writes the result with the picture's metadata made true to
// it (read from the same bytes as the pixels), making the result's folder when
// it is missing. Raises with the text the window would show, or the job's
// refusal; returns notes for the user about metadata left out.
QStringList stampPicture(const StampJob& job, const Bitmap24& watermark,
                         const StampSettings& settings);

} // namespace tessaly
