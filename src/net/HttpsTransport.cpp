#include "net/HttpsTransport.h"

#include "net/CurlCall.h"
#include "net/ReplyDecoding.h"

namespace tessaly {

QString postHttps(const QString& url, const QByteArray& body, int timeoutMs) {
    CurlCall call(url.toUtf8(), body,
                  {"Connection: close",
                   "Content-Type: application/x-www-form-urlencoded; charset=utf-8", "Expect:"},
                  timeoutMs, "https");
    CURL* handle = call.handle();
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
    // A redirect never leaves the secure channel.
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    call.perform();
    return decodeReply(call.body(), call.contentType(), QStringConverter::Utf8);
}

} // namespace tessaly
