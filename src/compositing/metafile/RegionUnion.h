#pragma once

#include <QRect>
#include <QRegion>
#include <vector>

namespace tessaly::metafile {

// The union of many rectangles, merged pairwise so that a region of n
// rectangles costs about n log n rather than n squared.
QRegion unionOf(const std::vector<QRect>& rects);

} // namespace tessaly::metafile
