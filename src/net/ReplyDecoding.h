#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>

namespace tessaly {

// The charset parameter of a Content-Type value, empty when it names none.
QByteArray charsetOf(const QByteArray& contentType);

// The body decoded by the charset that the Content-Type names, or by
// `fallback` when it names none or one that is not known here.
QString decodeReply(const QByteArray& body, const QByteArray& contentType,
                    QStringConverter::Encoding fallback);

} // namespace tessaly
