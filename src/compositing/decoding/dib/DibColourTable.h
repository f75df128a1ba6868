#pragma once

#include "compositing/decoding/dib/DibHeader.h"
#include "compositing/decoding/dib/DibPolicy.h"

#include <cstddef>
#include <QRgb>

namespace tessaly {

class ByteReader;

// What the entries of a colour table are: colours, or (in a metafile) 16-bit
// indices into the playing device's palette.
enum class DibColours { Rgb, PaletteIndices };

// Reads the colour table that follows the header into info.palette and
// leaves the reader after it. The header's count of colours, or the full
// count of the depth when it gives none, says how long the table is; only
// as many entries as the depth can index are kept. Under the file policy
// the table of a 1- to 8-bit bitmap must be all there, or the reader's "not
// valid" error is raised, and the table of a deeper bitmap is not read.
// Otherwise the table is cut to the data left, less rowsAfter bytes of rows
// that follow it in the same span.
void readDibColourTable(DibInfo& info, ByteReader& reader, const DibPolicy& policy,
                        DibColours entries = DibColours::Rgb, std::size_t rowsAfter = 0);

// What an index beyond the palette stands for (see dibPaletteColour).
QRgb dibMissingColour(const ByteReader& reader, const DibPolicy& policy);

// The colour of a palette index. An index beyond the table raises the
// reader's "not valid" error, or is black where the policy draws damaged
// bitmaps.
inline QRgb dibPaletteColour(const DibInfo& info, unsigned index, const ByteReader& reader,
                             const DibPolicy& policy) {
    if (index < info.palette.size())
        return info.palette[index];
    return dibMissingColour(reader, policy);
}

} // namespace tessaly
