#include "compositing/metafile/ObjectTable.h"

#include "compositing/metafile/GdiCanvas.h"
#include "compositing/metafile/RecordReader.h"

#include <array>

namespace tessaly::metafile {

void ObjectTable::add(GdiObject object) {
    for (GdiObject& slot : slots_) {
        if (std::holds_alternative<std::monostate>(slot)) {
            slot = std::move(object);
            return;
        }
    }
}

void ObjectTable::put(uint32_t index, GdiObject object) {
    if (index < slots_.size())
        slots_[index] = std::move(object);
}

const GdiObject* ObjectTable::find(uint32_t index) const {
    if (index >= slots_.size() || std::holds_alternative<std::monostate>(slots_[index]))
        return nullptr;
    return &slots_[index];
}

void ObjectTable::remove(uint32_t index) {
    if (index < slots_.size())
        slots_[index] = std::monostate();
}

namespace {

GdiObject solidBrush(QColor colour, int style = GdiBrush::Solid) {
    GdiBrush brush;
    brush.colour = colour;
    brush.style = style;
    return brush;
}

GdiObject solidPen(QColor colour, int style = GdiPen::Solid) {
    GdiPen pen;
    pen.colour = colour;
    pen.style = style;
    return pen;
}

GdiObject font(const char* face, int height) {
    GdiFont f;
    f.face = QString::fromLatin1(face);
    f.height = height;
    return f;
}

std::array<GdiObject, 20> makeStockObjects() {
    return {solidBrush(Qt::white),
            solidBrush(QColor(192, 192, 192)),
            solidBrush(QColor(128, 128, 128)),
            solidBrush(QColor(64, 64, 64)),
            solidBrush(Qt::black),
            solidBrush(Qt::black, GdiBrush::Null),
            solidPen(Qt::white),
            solidPen(Qt::black),
            solidPen(Qt::black, GdiPen::Null),
            std::monostate(),
            font("Monospace", 12),
            font("Monospace", 12),
            font("Sans Serif", 12),
            font("Sans Serif", 16),
            font("Sans Serif", 16),
            GdiPalette(),
            font("Monospace", 16),
            font("Sans Serif", -11),
            solidBrush(Qt::white),
            solidPen(Qt::black)};
}

} // namespace

const GdiObject* stockObject(uint32_t index) {
    static const std::array<GdiObject, 20> objects = makeStockObjects();
    if (!(index & 0x80000000u))
        return nullptr;
    index &= 0x7FFFFFFFu;
    if (index >= objects.size() || std::holds_alternative<std::monostate>(objects[index]))
        return nullptr;
    return &objects[index];
}

void selectObject(GdiCanvas& canvas, const GdiObject& object) {
    DeviceContext& dc = canvas.dc();
    if (const auto* pen = std::get_if<GdiPen>(&object))
        dc.pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(&object))
        dc.brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(&object))
        dc.font = *font;
    else if (const auto* region = std::get_if<GdiRegion>(&object))
        canvas.combineClip(region->region & canvas.referenceBounds(), 5);
}

QColor readColourRef(RecordReader& in) {
    const int r = in.u8(), g = in.u8(), b = in.u8();
    in.u8();
    return QColor(r, g, b);
}

} // namespace tessaly::metafile
