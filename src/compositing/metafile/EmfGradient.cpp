// EMR_GRADIENTFILL: rectangles shaded across or down, and triangles, which
// take the mean of their corners' colours.
#include "compositing/metafile/EmfPlayback.h"
#include "compositing/metafile/EmfRecords.h"

#include <QLinearGradient>

namespace tessaly::metafile {

namespace {

enum GradientMode { RectH = 0, RectV = 1, Triangle = 2 };

struct Vertex {
    QPointF at;
    QColor colour;
};

std::vector<Vertex> readVertices(RecordReader& in, uint32_t count) {
    if (!in.has(std::size_t(count) * 16))
        throwInvalid();
    std::vector<Vertex> vertices;
    vertices.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const QPointF at = in.pointL();
        const int r = in.u16() >> 8, g = in.u16() >> 8, b = in.u16() >> 8;
        in.u16(); // alpha: GDI ignores it here
        vertices.push_back({at, QColor(r, g, b)});
    }
    return vertices;
}

QColor mean(const Vertex& a, const Vertex& b, const Vertex& c) {
    return QColor((a.colour.red() + b.colour.red() + c.colour.red()) / 3,
                  (a.colour.green() + b.colour.green() + c.colour.green()) / 3,
                  (a.colour.blue() + b.colour.blue() + c.colour.blue()) / 3);
}

} // namespace

void EmfPlayback::gradientFill(RecordReader& in) {
    in.rectL();
    const uint32_t vertexCount = in.u32(), shapes = in.u32(), mode = in.u32();
    const std::vector<Vertex> vertices = readVertices(in, vertexCount);
    const std::size_t corners = mode == Triangle ? 3 : 2;
    if (!in.has(std::size_t(shapes) * corners * 4))
        throwInvalid();
    for (uint32_t s = 0; s < shapes; ++s) {
        uint32_t index[3] = {0, 0, 0};
        for (std::size_t c = 0; c < corners; ++c)
            index[c] = in.u32();
        if (index[0] >= vertexCount || index[1] >= vertexCount ||
            (corners == 3 && index[2] >= vertexCount))
            continue;
        const Vertex &a = vertices[index[0]], &b = vertices[index[1]];
        QPainterPath shape;
        if (mode == Triangle) {
            const Vertex& c = vertices[index[2]];
            shape.addPolygon(QPolygonF{a.at, b.at, c.at});
            canvas_.fillShape(shape, QBrush(mean(a, b, c)));
            continue;
        }
        const QRectF box(a.at, b.at);
        shape.addRect(box.normalized());
        QLinearGradient gradient(a.at, mode == RectV ? QPointF(a.at.x(), b.at.y())
                                                     : QPointF(b.at.x(), a.at.y()));
        gradient.setColorAt(0, a.colour);
        gradient.setColorAt(1, b.colour);
        canvas_.fillShape(shape, QBrush(gradient));
    }
}

} // namespace tessaly::metafile
