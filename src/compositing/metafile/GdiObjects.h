#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QString>
#include <variant>
#include <vector>

namespace tessaly::metafile {

// The drawing objects a metafile creates and selects, in GDI's terms.
struct GdiPen {
    enum Style { Solid = 0, Dash, Dot, DashDot, DashDotDot, Null, InsideFrame, User, Alternate };
    int style = Solid;
    uint32_t flags = 0; // end cap and join bits of the pen style
    double width = 0;   // logical units; 0 is one device pixel
    QColor colour = Qt::black;
    std::vector<double> dashes; // user style, in logical units
};

struct GdiBrush {
    enum Style { Solid = 0, Null = 1, Hatched = 2, Pattern = 3, DibPattern = 5, DibPatternPt = 6 };
    int style = Solid;
    QColor colour = Qt::white;
    int hatch = 0;
    QImage pattern; // for the pattern styles
};

struct GdiFont {
    int height = 0; // logical units; negative: character height, positive: cell height
    int width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
    QString face;
};

// A region in pixels of the metafile's reference device.
struct GdiRegion {
    QRegion region;
};

struct GdiPalette {};

using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont, GdiRegion, GdiPalette>;

} // namespace tessaly::metafile
