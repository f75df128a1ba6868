#pragma once

#include "compositing/metafile/GdiCanvas.h"
#include "compositing/metafile/ObjectTable.h"
#include "compositing/metafile/RecordReader.h"

namespace tessaly::metafile {

// The emf record handlers, grouped by concern; each returns false for a
// record type that is not its own. Readers stand after the record's type and
// size.
class EmfPlayback {
public:
    EmfPlayback(GdiCanvas& canvas, std::size_t handles) : canvas_(canvas), objects_(handles) {}

    void play(uint32_t type, RecordReader& record);

private:
    bool state(uint32_t type, RecordReader& in);
    bool mapping(uint32_t type, RecordReader& in);
    bool transforms(uint32_t type, RecordReader& in);
    bool objects(uint32_t type, RecordReader& in);
    bool figures(uint32_t type, RecordReader& in);
    bool polys(uint32_t type, RecordReader& in);
    bool paths(uint32_t type, RecordReader& in);
    bool regions(uint32_t type, RecordReader& in);
    bool bitmaps(uint32_t type, RecordReader& in);
    void text(RecordReader& in, bool wide);
    void bitBlt(RecordReader& in, bool stretch);
    void stretchDiBits(RecordReader& in);
    void setDiBitsToDevice(RecordReader& in);
    void alphaBlend(RecordReader& in);
    void gradientFill(RecordReader& in);
    const GdiObject* object(uint32_t index) const;

    GdiCanvas& canvas_;
    ObjectTable objects_;
};

} // namespace tessaly::metafile
