// Writes the application's icon for a desktop icon theme, from the same
// drawing the program shows in its windows:
//   OUT/hicolor/NxN/apps/NAME.png  for every size a theme expects
//   OUT/hicolor/scalable/apps/NAME.svg
// Usage: export_icons OUT NAME

#include "resources/Artwork.h"

#include <cstdio>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};
// The drawing's own grid; the SVG keeps it as its view box.
constexpr int kDesignSize = 32;

bool makeFolder(const QString& folder) {
    if (QDir().mkpath(folder))
        return true;
    std::fprintf(stderr, "export_icons: cannot create %s\n", qPrintable(folder));
    return false;
}

bool writePng(const QString& theme, const QString& name, int size) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!makeFolder(folder))
        return false;
    if (tessaly::artImage(tessaly::Art::AppIcon, size).save(path, "PNG"))
        return true;
    std::fprintf(stderr, "export_icons: cannot write %s\n", qPrintable(path));
    return false;
}

bool writeSvg(const QString& theme, const QString& name) {
    const QString folder = theme + QStringLiteral("/scalable/apps");
    if (!makeFolder(folder))
        return false;
    QSvgGenerator svg;
    svg.setFileName(folder + QLatin1Char('/') + name + QStringLiteral(".svg"));
    svg.setSize(QSize(kDesignSize, kDesignSize));
    svg.setViewBox(QRect(0, 0, kDesignSize, kDesignSize));
    svg.setTitle(QStringLiteral("Tessaly"));
    svg.setDescription(QStringLiteral("A photo with a tiled watermark across it"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "export_icons: cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    tessaly::paintArt(tessaly::Art::AppIcon, painter, kDesignSize);
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: export_icons OUT NAME\n");
        return 2;
    }
    // Painting needs the GUI module's setup, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString theme = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor");
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : kSizes)
        if (!writePng(theme, name, size))
            return 1;
    return writeSvg(theme, name) ? 0 : 1;
}
