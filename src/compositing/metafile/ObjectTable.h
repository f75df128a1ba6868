#pragma once

#include "compositing/metafile/GdiObjects.h"

#include <cstdint>
#include <vector>

namespace tessaly::metafile {

class GdiCanvas;

// The metafile's table of created objects. A wmf puts each new object in the
// lowest free slot; an emf names the slot itself. Indices out of the table are
// ignored, as GDI ignores them.
class ObjectTable {
public:
    explicit ObjectTable(std::size_t size) : slots_(size) {}

    void add(GdiObject object);
    void put(uint32_t index, GdiObject object);
    // Null when the slot is empty or out of the table.
    const GdiObject* find(uint32_t index) const;
    void remove(uint32_t index);

private:
    std::vector<GdiObject> slots_;
};

// An emf stock object (WHITE_BRUSH, BLACK_PEN, ...), or null.
const GdiObject* stockObject(uint32_t index);

// Makes a pen, brush or font the current one; a region becomes the clip.
void selectObject(GdiCanvas& canvas, const GdiObject& object);

// Reads a colour stored as red, green, blue and a flags byte.
QColor readColourRef(class RecordReader& in);

} // namespace tessaly::metafile
