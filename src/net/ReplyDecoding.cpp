#include "net/ReplyDecoding.h"

#include <QList>
#include <QStringDecoder>

namespace tessaly {

QByteArray charsetOf(const QByteArray& contentType) {
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray part = parts[i].trimmed();
        const qsizetype equals = part.indexOf('=');
        if (equals < 0 || part.left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray name = part.mid(equals + 1).trimmed();
        if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
            name = name.mid(1, name.size() - 2);
        return name;
    }
    return {};
}

QString decodeReply(const QByteArray& body, const QByteArray& contentType,
                    QStringConverter::Encoding fallback) {
    const QByteArray charset = charsetOf(contentType);
    QStringDecoder decoder(charset.constData());
    if (charset.isEmpty() || !decoder.isValid())
        decoder = QStringDecoder(fallback);
    return decoder.decode(body);
}

} // namespace tessaly
