#include "net/HttpTransport.h"

#include "net/CurlCall.h"
#include "net/ReplyDecoding.h"
#include "platform/Error.h"

namespace tessaly {

QString plainHttpUrl(const QString& url) {
    const qsizetype scheme = url.indexOf(QStringLiteral("://"));
    return QStringLiteral("http://") + (scheme < 0 ? url : url.mid(scheme + 3));
}

QString postHttp(const QString& url, const QByteArray& body, int timeoutMs) {
    CurlCall call(plainHttpUrl(url).toUtf8(), body,
                  {"Content-Type: application/x-www-form-urlencoded", "Expect:"}, timeoutMs,
                  "http");
    call.perform();
    if (call.status() < 200 || call.status() > 299)
        throw Error(QString::fromLatin1(call.statusLine()));
    return decodeReply(call.body(), call.contentType(), QStringConverter::Latin1);
}

} // namespace tessaly
