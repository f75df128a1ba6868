#pragma once

#include "compositing/metafile/RecordReader.h"

#include <cstdint>
#include <functional>

namespace tessaly::metafile {

// Record functions of the Windows metafile format.
enum WmfFunction : uint16_t {
    WmfEof = 0x0000,
    WmfRealizePalette = 0x0035,
    WmfSetPalEntries = 0x0037,
    WmfSetBkMode = 0x0102,
    WmfSetMapMode = 0x0103,
    WmfSetRop2 = 0x0104,
    WmfSetPolyFillMode = 0x0106,
    WmfSaveDc = 0x001E,
    WmfRestoreDc = 0x0127,
    WmfInvertRegion = 0x012A,
    WmfPaintRegion = 0x012B,
    WmfSelectClipRegion = 0x012C,
    WmfSelectObject = 0x012D,
    WmfSetTextAlign = 0x012E,
    WmfDibCreatePatternBrush = 0x0142,
    WmfDeleteObject = 0x01F0,
    WmfCreatePatternBrush = 0x01F9,
    WmfSetBkColor = 0x0201,
    WmfSetTextColor = 0x0209,
    WmfSetWindowOrg = 0x020B,
    WmfSetWindowExt = 0x020C,
    WmfSetViewportOrg = 0x020D,
    WmfSetViewportExt = 0x020E,
    WmfOffsetWindowOrg = 0x020F,
    WmfOffsetViewportOrg = 0x0211,
    WmfLineTo = 0x0213,
    WmfMoveTo = 0x0214,
    WmfOffsetClipRgn = 0x0220,
    WmfFillRegion = 0x0228,
    WmfCreatePenIndirect = 0x02FA,
    WmfCreateFontIndirect = 0x02FB,
    WmfCreateBrushIndirect = 0x02FC,
    WmfCreatePalette = 0x00F7,
    WmfPolygon = 0x0324,
    WmfPolyline = 0x0325,
    WmfScaleWindowExt = 0x0410,
    WmfScaleViewportExt = 0x0412,
    WmfExcludeClipRect = 0x0415,
    WmfIntersectClipRect = 0x0416,
    WmfEllipse = 0x0418,
    WmfRectangle = 0x041B,
    WmfSetPixel = 0x041F,
    WmfFrameRegion = 0x0429,
    WmfTextOut = 0x0521,
    WmfPolyPolygon = 0x0538,
    WmfRoundRect = 0x061C,
    WmfPatBlt = 0x061D,
    WmfCreateRegion = 0x06FF,
    WmfArc = 0x0817,
    WmfPie = 0x081A,
    WmfChord = 0x0830,
    WmfBitBlt = 0x0922,
    WmfDibBitBlt = 0x0940,
    WmfExtTextOut = 0x0A32,
    WmfStretchBlt = 0x0B23,
    WmfDibStretchBlt = 0x0B41,
    WmfSetDibToDev = 0x0D33,
    WmfStretchDib = 0x0F43,
};

// Walks the records from offset: calls visit with each record's function and
// a reader over its parameters until visit returns false or the end-of-file
// record. A record whose size is too small or reaches past the data, and data
// that ends before the end-of-file record, raise "Metafile is not valid".
void forEachWmfRecord(const RecordReader& file, std::size_t offset,
                      const std::function<bool(uint16_t, RecordReader&)>& visit);

} // namespace tessaly::metafile
