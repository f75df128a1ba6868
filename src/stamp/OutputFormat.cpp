#include "stamp/OutputFormat.h"

namespace tessaly {

namespace {

struct Name {
    const char* text;
    OutputFormat format;
};

constexpr Name kNames[] = {
    {"bmp", OutputFormat::Bmp},   {"png", OutputFormat::Png},  {"jpg", OutputFormat::Jpeg},
    {"jpeg", OutputFormat::Jpeg}, {"tif", OutputFormat::Tiff}, {"tiff", OutputFormat::Tiff},
};

} // namespace

std::optional<OutputFormat> formatOfExtension(const QString& extension) {
    for (const Name& n : kNames) {
        if (extension.compare(QLatin1String(n.text), Qt::CaseInsensitive) == 0)
            return n.format;
    }
    return std::nullopt;
}

std::optional<OutputFormat> formatNamed(const QString& name) {
    return formatOfExtension(name);
}

QString defaultExtension(OutputFormat format) {
    switch (format) {
    case OutputFormat::Png:
        return QStringLiteral("png");
    case OutputFormat::Jpeg:
        return QStringLiteral("jpg");
    case OutputFormat::Tiff:
        return QStringLiteral("tif");
    case OutputFormat::Bmp:
        break;
    }
    return QStringLiteral("bmp");
}

} // namespace tessaly
