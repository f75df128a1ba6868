#include "compositing/metafile/RegionUnion.h"

namespace tessaly::metafile {

namespace {

QRegion unionOf(const std::vector<QRect>& rects, std::size_t from, std::size_t to) {
    if (to == from)
        return QRegion();
    if (to - from == 1)
        return QRegion(rects[from]);
    const std::size_t middle = from + (to - from) / 2;
    return unionOf(rects, from, middle) | unionOf(rects, middle, to);
}

} // namespace

QRegion unionOf(const std::vector<QRect>& rects) {
    return unionOf(rects, 0, rects.size());
}

} // namespace tessaly::metafile
