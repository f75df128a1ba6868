#include "net/PostForm.h"

#include "net/FormEncoding.h"
#include "net/HttpsTransport.h"
#include "net/HttpTransport.h"

namespace tessaly {

QString PostForm(const QString& url, const QStringList& fields, int timeoutMs) {
    const QByteArray body = encodeForm(fields);
    if (url.startsWith(QStringLiteral("https://"), Qt::CaseSensitive))
        return postHttps(url, body, timeoutMs);
    return postHttp(url, body, timeoutMs);
}

} // namespace tessaly
