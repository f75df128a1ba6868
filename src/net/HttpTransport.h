#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Posts a form body over plain HTTP/1.1 to the host and path of `url`,
// whatever its scheme says. No redirects are followed; a status outside
// 200-299 raises with the status line. The body is decoded by its charset or
// byte for byte as ISO-8859-1.
QString postHttp(const QString& url, const QByteArray& body, int timeoutMs);

// `url` with its scheme, whatever it is, replaced by "http://".
QString plainHttpUrl(const QString& url);

} // namespace tessaly
