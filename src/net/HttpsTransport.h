#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Posts a form body over HTTPS: "Connection: close", a UTF-8 form Content-Type,
// up to five redirects (301, 302 and 303 go on as GET, 307 and 308 repeat the
// POST), certificate checked by the system's trust. Gives the final
// response's body whatever its status, decoded by its charset or as UTF-8.
QString postHttps(const QString& url, const QByteArray& body, int timeoutMs);

} // namespace tessaly
