#include "net/CurlCall.h"

#include "net/TestTrust.h"
#include "platform/Error.h"

#include <memory>
#include <mutex>
#include <QFile>

namespace tessaly {

namespace {

constexpr int kPollMs = 20;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

} // namespace

CurlCall::CurlCall(const QByteArray& url, const QByteArray& body, const QList<QByteArray>& headers,
                   int timeoutMs, const char* protocols)
    : requestBody_(body), timeout_(std::max(timeoutMs, 1)) {
    initCurlOnce();
    easy_ = curl_easy_init();
    if (!easy_)
        throw Error(QStringLiteral("Cannot create an HTTP client"));
    for (const QByteArray& header : headers)
        headers_ = curl_slist_append(headers_, header.constData());
    curl_easy_setopt(easy_, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_POST, 1L);
    // HTTP/1.1 on both schemes: over HTTP/2 libcurl would drop the secure
    // transport's "Connection: close".
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, requestBody_.constData());
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(requestBody_.size()));
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, long(timeout_.count()));
    // The time-outs bound each wait; this bounds the whole exchange, so that a
    // server that keeps trickling cannot hold the caller for longer.
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, long(kDeadlineFactor * timeout_.count()));
    // Names are looked up in a thread of libcurl's; at the deadline the
    // handle lets a lookup that still hangs run out on its own instead of
    // waiting for it.
    curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kMaxReplyBytes));
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlCall::onBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlCall::onHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &CurlCall::onConnected);
    curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlCall::onProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    const QString authority = trustedAuthorityForTests();
    if (!authority.isEmpty())
        curl_easy_setopt(easy_, CURLOPT_CAINFO, QFile::encodeName(authority).constData());
}

CurlCall::~CurlCall() {
    curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
}

void CurlCall::perform() {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy_) != CURLM_OK)
        throw Error(QStringLiteral("Cannot start an HTTP exchange"));
    lastActivity_ = std::chrono::steady_clock::now();
    int running = 1;
    while (running) {
        const CURLMcode code = curl_multi_perform(multi.get(), &running);
        if (code != CURLM_OK) {
            curl_multi_remove_handle(multi.get(), easy_);
            throw Error(QString::fromUtf8(curl_multi_strerror(code)));
        }
        if (running && responseOverdue()) {
            curl_multi_remove_handle(multi.get(), easy_);
            throw Error(
                QStringLiteral("Operation timed out after %1 milliseconds waiting for the response")
                    .arg(timeout_.count()));
        }
        if (running)
            curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr);
    }
    int left = 0;
    const CURLMsg* message = curl_multi_info_read(multi.get(), &left);
    const CURLcode result = message ? message->data.result : CURLE_OK;
    curl_multi_remove_handle(multi.get(), easy_);
    if (result != CURLE_OK)
        raise(result);
}

// The connect phase is bounded by libcurl's connect time-out; from the moment
// the request goes out, every wait for the next piece of the response is.
bool CurlCall::responseOverdue() const {
    return awaitingResponse_ && std::chrono::steady_clock::now() - lastActivity_ > timeout_;
}

void CurlCall::raise(CURLcode code) const {
    if (tooLarge_ || code == CURLE_FILESIZE_EXCEEDED)
        throw ReplyTooLarge(
            QStringLiteral("The server's reply is larger than %1 bytes").arg(kMaxReplyBytes));
    // libcurl keeps the first message of a transfer: one from an earlier
    // connection of a redirect chain that it got over does not describe this.
    const QByteArray detail(errorText_);
    const bool stale = detail.isEmpty() || detail == staleErrorText_;
    const QByteArray text = stale ? QByteArray(curl_easy_strerror(code)) : detail;
    throw Error(QString::fromUtf8(text));
}

long CurlCall::status() const {
    long code = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

QByteArray CurlCall::contentType() const {
    const char* type = nullptr;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_TYPE, &type);
    return type ? QByteArray(type) : QByteArray();
}

size_t CurlCall::onBody(char* data, size_t size, size_t count, void* self) {
    auto* call = static_cast<CurlCall*>(self);
    const size_t bytes = size * count;
    call->lastActivity_ = std::chrono::steady_clock::now();
    if (bytes > size_t(kMaxReplyBytes - call->body_.size())) {
        call->tooLarge_ = true;
        return 0; // makes libcurl stop with a write error
    }
    call->body_.append(data, qsizetype(bytes));
    return bytes;
}

size_t CurlCall::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* call = static_cast<CurlCall*>(self);
    const QByteArray line(data, qsizetype(size * count));
    call->lastActivity_ = std::chrono::steady_clock::now();
    if (line.startsWith("HTTP/")) {
        // A new response after a redirect: only the final one's body counts.
        call->statusLine_ = line.trimmed();
        call->body_.clear();
    }
    return size * count;
}

int CurlCall::onConnected(void* self, char*, char*, int, int) {
    auto* call = static_cast<CurlCall*>(self);
    call->awaitingResponse_ = true;
    call->staleErrorText_ = QByteArray(call->errorText_);
    call->lastActivity_ = std::chrono::steady_clock::now();
    return CURL_PREREQFUNC_OK;
}

int CurlCall::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto* call = static_cast<CurlCall*>(self);
    if (uploaded != call->uploaded_) {
        call->uploaded_ = uploaded;
        call->lastActivity_ = std::chrono::steady_clock::now();
    }
    return 0;
}

} // namespace tessaly
