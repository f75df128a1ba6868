#include "stamp/metadata/XmpEdit.h"

#include <QRegularExpression>

namespace tessaly {

namespace {

// A property's two forms: name="value" and <name>value</name>.
struct Property {
    QRegularExpression attribute, element;

    explicit Property(const char* name) {
        const QString n = QRegularExpression::escape(QLatin1String(name));
        attribute.setPattern(QStringLiteral("(\\b%1\\s*=\\s*)([\"'])[^\"'<>]*\\2").arg(n));
        element.setPattern(QStringLiteral("(<%1(\\s[^<>]*)?>)[^<]*(</%1\\s*>)").arg(n));
    }
    void set(QString& text, const QString& value) const {
        text.replace(attribute, QStringLiteral("\\1\\2") + value + QStringLiteral("\\2"));
        text.replace(element, QStringLiteral("\\1") + value + QStringLiteral("\\3"));
    }
};

QString& dropThumbnails(QString& text) {
    thread_local const QRegularExpression empty(QStringLiteral("<(xmp|xap):Thumbnails\\b[^<>]*/>"));
    thread_local const QRegularExpression full(
        QStringLiteral("<(xmp|xap):Thumbnails\\b[^<>]*>.*?</\\1:Thumbnails\\s*>"),
        QRegularExpression::DotMatchesEverythingOption);
    text.remove(empty);
    text.remove(full);
    return text;
}

} // namespace

QByteArray xmpForResult(const QByteArray& packet, QSize size) {
    // Latin-1 maps every byte to one character and back, whatever the
    // packet's encoding; the names sought are ASCII.
    QString text = QString::fromLatin1(packet);
    const QString width = QString::number(size.width()), height = QString::number(size.height());
    // Compiled once per thread: the workers of a batch share nothing.
    thread_local const Property orientation("tiff:Orientation"), imageWidth("tiff:ImageWidth"),
        imageLength("tiff:ImageLength"), pixelX("exif:PixelXDimension"),
        pixelY("exif:PixelYDimension");
    orientation.set(text, QStringLiteral("1"));
    imageWidth.set(text, width);
    imageLength.set(text, height);
    pixelX.set(text, width);
    pixelY.set(text, height);
    dropThumbnails(text);
    return text.toLatin1();
}

} // namespace tessaly
