#pragma once

#include "platform/Error.h"

#include <chrono>
#include <curl/curl.h>
#include <QByteArray>
#include <QList>

namespace tessaly {

// The longest reply body that is read; a longer one is an error rather than
// memory without bound.
constexpr qsizetype kMaxReplyBytes = 1 << 20;

// A whole exchange may take this many times the time-out of one wait.
constexpr int kDeadlineFactor = 2;

// The reply came over a working channel but is too large to take: the
// exchange is over, not worth another attempt.
class ReplyTooLarge : public Error {
public:
    using Error::Error;
};

// One POST over a libcurl handle made for it alone and released with it. Both
// transports build on it and add their own options before perform().
class CurlCall {
public:
    // `protocols` limits the schemes the handle may use ("https", "http").
    CurlCall(const QByteArray& url, const QByteArray& body, const QList<QByteArray>& headers,
             int timeoutMs, const char* protocols);
    ~CurlCall();
    CurlCall(const CurlCall&) = delete;
    CurlCall& operator=(const CurlCall&) = delete;

    CURL* handle() const { return easy_; }

    // Runs the exchange. The connect time-out is libcurl's; the response
    // time-out bounds every wait for the next piece of the response; the whole
    // exchange ends at kDeadlineFactor times the time-out. Raises an Error with
    // libcurl's message when the exchange fails, ReplyTooLarge for a reply
    // beyond kMaxReplyBytes.
    void perform();

    long status() const;
    // The Content-Type of the final response, empty when it sent none.
    QByteArray contentType() const;
    // "HTTP/1.1 200 OK" of the final response.
    const QByteArray& statusLine() const { return statusLine_; }
    const QByteArray& body() const { return body_; }

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static int onConnected(void* self, char*, char*, int, int);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
    bool responseOverdue() const;
    [[noreturn]] void raise(CURLcode code) const;

    CURL* easy_ = nullptr;
    curl_slist* headers_ = nullptr;
    QByteArray body_;
    QByteArray requestBody_;
    QByteArray statusLine_;
    bool tooLarge_ = false;
    bool awaitingResponse_ = false;
    curl_off_t uploaded_ = 0;
    std::chrono::milliseconds timeout_;
    std::chrono::steady_clock::time_point lastActivity_;
    char errorText_[CURL_ERROR_SIZE] = {};
    QByteArray staleErrorText_; // what the buffer held when the last request went out
};

} // namespace tessaly
