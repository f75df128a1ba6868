#pragma once

#include <optional>
#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QProcess>
#include <QString>

namespace tessaly::test {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// What the server answers to one request.
struct ScriptedResponse {
    int status = 200;
    HeaderList headers;   // sent as given; Content-Length is added unless given or closeDelimited
    QByteArray body;      // sent byte for byte
    qint64 bodySize = -1; // >= 0: a body of that many 'x' bytes instead
    int delayMs = 0;      // wait before sending anything (a stalled response)
    int stallAfterBytes = -1;    // >= 0: send the headers and this many body bytes, then
    int stallMs = 0;             //         wait stallMs before the rest
    bool drop = false;           // close the connection without any answer
    bool closeDelimited = false; // no Content-Length: the body ends when the connection does
    bool silent = false;         // read the request and say nothing until the client leaves
    int trickleMs = 0;           // > 0: send the headers, then the body a byte at a time,
                                 //      one each trickleMs
    bool endless = false;        // send the headers, then a body that never ends (a byte
                                 // each trickleMs)

    static ScriptedResponse text(int status, const QByteArray& body,
                                 const QByteArray& contentType = "text/plain");
    static ScriptedResponse redirect(int status, const QByteArray& location);
};

// A request as the server read it.
struct RecordedRequest {
    QString scheme; // "https" or "http"
    QByteArray method;
    QByteArray path;    // with the query
    QByteArray version; // "HTTP/1.1"
    QByteArray alpn;    // over HTTPS: the protocol the TLS handshake settled on
    HeaderList headers;
    QByteArray body; // exact bytes

    // The first header of that name (any case), or nothing.
    std::optional<QByteArray> header(const QByteArray& name) const;
};

enum class Scheme { Any, Https, Http };

// A real web server on 127.0.0.1 run as a child process for the life of the
// object (tests/support/test_server.py). One port serves HTTPS and plain HTTP
// alike, so that "https://" + host() and "http://" + host() reach the same
// routes, as the program's two schemes reach one host. The HTTPS certificate
// comes from a test authority made at start-up (authorityFile()); clients must
// be told to trust it.
class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // False, with the reason in error(), when the server could not be started.
    bool started() const { return port_ != 0; }
    const QString& error() const { return error_; }

    QString host() const; // "127.0.0.1:<port>", no scheme
    QString url(const QString& scheme, const QString& path) const;
    // A server whose certificate comes from an authority nobody trusts.
    QString untrustedUrl(const QString& path) const;
    // A port whose connections are never accepted: connecting times out.
    QString hangingUrl(const QString& scheme, const QString& path) const;
    // A port on which nothing listens: connecting is refused.
    QString closedUrl(const QString& scheme, const QString& path) const;
    const QString& authorityFile() const { return authority_; }

    // Answers requests for `path` (query ignored) with the responses in order;
    // the last one repeats. A route of one scheme wins over one of Any.
    void respond(const QString& path, const QList<ScriptedResponse>& responses,
                 Scheme scheme = Scheme::Any);
    // Routes `path`, path/1, ..., path/hops-1 as redirects of `status` each to
    // the next, and path/hops to `final`.
    void redirectChain(const QString& path, int status, int hops, const ScriptedResponse& final);

    // Every request since start-up or the last clear(), in arrival order.
    QList<RecordedRequest> requests();
    // Forgets all routes and recorded requests.
    void clear();

private:
    QJsonObject command(const QJsonObject& request);
    QJsonObject readReply();

    QProcess process_;
    QString error_;
    QString authority_;
    int port_ = 0;
    int untrustedPort_ = 0;
    int hangingPort_ = 0;
    int closedPort_ = 0;
};

} // namespace tessaly::test

// Rows of data-driven QtTest tests may hold a response.
Q_DECLARE_METATYPE(tessaly::test::ScriptedResponse)
