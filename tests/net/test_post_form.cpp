// PostForm against a real local server that speaks HTTPS and plain HTTP.
#include "net/PostForm.h"
#include "net/SecurePost.h"
#include "net/TestTrust.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"
#include "support/TestServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QElapsedTimer>

using namespace tessaly;
using tessaly::test::RecordedRequest;
using tessaly::test::Scheme;
using tessaly::test::ScriptedResponse;
using tessaly::test::TestServer;

namespace {

constexpr int kShortTimeoutMs = 400;
constexpr qint64 kMaxReplyBytesForTests = 1 << 20;

class PostFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new TestServer;
        setTrustedAuthorityForTests(server->authorityFile());
    }
    static void TearDownTestSuite() {
        setTrustedAuthorityForTests({});
        delete server;
    }
    void SetUp() override {
        ASSERT_TRUE(server->started()) << server->error().toStdString();
        server->clear();
    }

    // The reply, or the error's message prefixed with "raised: ".
    static QString outcome(const std::function<QString()>& call) {
        try {
            return call();
        } catch (const Error& e) {
            return QStringLiteral("raised: ") + e.message();
        }
    }

    static inline TestServer* server = nullptr;
};

TEST_F(PostFormTest, BodyReachesTheServerEncoded) {
    const struct {
        QStringList fields;
        QByteArray body;
    } cases[] = {
        {{"feedback=I like it!\r"}, "feedback=I+like+it%21%0D"},
        {{"v=a b&c=d/\u00E9"}, "v=a+b%26c%3Dd%2F%C3%A9"},
        {{"a=+%\n", "b="}, "a=%2B%25%0A&b="},
        {{"x==y=", "name"}, "x=%3Dy%3D&name="},
        {{"k=*-._~!'()"}, "k=*-._%7E%21%27%28%29"},
        {{"k=\u20AC\U0001F600"}, "k=%E2%82%AC%F0%9F%98%80"},
        {{"cmd=check", "appname=QUARNEL - Tessaly", "version=1.7"},
         "cmd=check&appname=QUARNEL+-+Tessaly&version=1.7"},
        {{}, ""},
    };
    server->respond("/form", {ScriptedResponse::text(200, "ok")});
    for (const QString scheme : {"https", "http"}) {
        for (const auto& c : cases) {
            server->clear();
            server->respond("/form", {ScriptedResponse::text(200, "ok")});
            EXPECT_EQ(outcome([&] { return PostForm(server->url(scheme, "/form"), c.fields); }),
                      "ok");
            const QList<RecordedRequest> requests = server->requests();
            ASSERT_EQ(requests.size(), 1);
            EXPECT_EQ(requests[0].method, "POST");
            EXPECT_EQ(requests[0].body, c.body) << scheme.toStdString();
        }
    }
}

TEST_F(PostFormTest, HeadersOfEachTransport) {
    server->respond("/h", {ScriptedResponse::text(200, "ok")});
    // A long body must go out at once, without waiting for a "100 Continue".
    const QStringList fields{"text=" + QString(200000, u'w')};
    ASSERT_EQ(PostForm(server->url("https", "/h"), fields), "ok");
    ASSERT_EQ(PostForm(server->url("http", "/h"), fields), "ok");
    const QList<RecordedRequest> requests = server->requests();
    ASSERT_EQ(requests.size(), 2);
    const RecordedRequest& secure = requests[0];
    const RecordedRequest& plain = requests[1];
    EXPECT_EQ(secure.scheme, "https");
    // The server offers HTTP/2 first: a client that took it would not send
    // "Connection: close" (and would fail here).
    EXPECT_EQ(secure.alpn, "http/1.1");
    EXPECT_EQ(secure.version, "HTTP/1.1");
    EXPECT_EQ(secure.header("Content-Type"), "application/x-www-form-urlencoded; charset=utf-8");
    EXPECT_EQ(secure.header("Connection"), "close");
    EXPECT_EQ(plain.scheme, "http");
    EXPECT_EQ(plain.version, "HTTP/1.1");
    EXPECT_EQ(plain.header("Content-Type"), "application/x-www-form-urlencoded");
    for (const RecordedRequest& r : requests) {
        EXPECT_EQ(r.header("Expect"), std::nullopt);
        EXPECT_EQ(r.header("User-Agent"), std::nullopt);
        EXPECT_EQ(r.body.size(), 5 + 200000);
    }
}

// A row of the transport table: how the server is set up, and what PostForm
// gives over each scheme: the reply, or "raised: " and a part of the message.
struct TransportCase {
    const char* name;
    std::function<ScriptedResponse()> response; // routed at /t (or a chain from there)
    std::function<QString(const QString& scheme)> url;
    QString https;
    QString http;             // empty: not tried over plain HTTP
    QByteArray finalMethod{}; // over HTTPS, when set: the method of the last request
};

QString outcomeText(const QString& text) {
    return text.size() > 200 ? text.left(200) + "..." : text;
}

TEST_F(PostFormTest, TransportTable) {
    const QString big(kMaxReplyBytesForTests, u'x');
    auto at = [](const char* path) {
        return [path](const QString& scheme) { return server->url(scheme, path); };
    };
    auto chain = [](int status, int hops) {
        return [status, hops](const QString& scheme) {
            server->redirectChain("/chain", status, hops, ScriptedResponse::text(200, "moved"));
            return server->url(scheme, "/chain");
        };
    };
    auto text = [](int status, const QByteArray& body, const QByteArray& type = "text/plain") {
        return [=] { return ScriptedResponse::text(status, body, type); };
    };
    auto with = [](auto change) {
        return [change] {
            ScriptedResponse r = ScriptedResponse::text(200, "abcdefgh");
            change(r);
            return r;
        };
    };
    const TransportCase cases[] = {
        {"Ok", text(200, "hello"), at("/t"), "hello", "hello"},
        {"ServerError", text(500, "error"), at("/t"), "error", "raised: HTTP/1.1 500"},
        {"NotFound", text(404, "missing"), at("/t"), "missing", "raised: HTTP/1.1 404"},
        {"Redirect301", nullptr, chain(301, 1), "moved", "raised: HTTP/1.1 301", "GET"},
        {"Redirect302", nullptr, chain(302, 1), "moved", "raised: HTTP/1.1 302", "GET"},
        {"Redirect303", nullptr, chain(303, 1), "moved", "raised: HTTP/1.1 303", "GET"},
        {"Redirect307", nullptr, chain(307, 1), "moved", "raised: HTTP/1.1 307", "POST"},
        {"Redirect308", nullptr, chain(308, 1), "moved", "raised: HTTP/1.1 308", "POST"},
        {"FiveRedirects", nullptr, chain(307, 5), "moved", "", "POST"},
        {"SixRedirects", nullptr, chain(302, 6), "raised: Maximum (5) redirects followed", ""},
        {"SixRedirects308", nullptr, chain(308, 6), "raised: Maximum (5) redirects followed", ""},
        {"ConnectTimeout", nullptr, [](const QString& s) { return server->hangingUrl(s, "/t"); },
         "raised: timeout", "raised: timeout"},
        {"StalledResponse", with([](auto& r) { r.delayMs = 4000; }), at("/t"), "raised: timed out",
         "raised: timed out"},
        {"StalledBody", with([](auto& r) { r.stallAfterBytes = 3, r.stallMs = 4000; }), at("/t"),
         "raised: timed out", "raised: timed out"},
        {"Silent", with([](auto& r) { r.silent = true; }), at("/t"), "raised: timed out",
         "raised: timed out"},
        // Each byte comes well within the time-out; only the whole exchange's
        // deadline (twice the time-out) ends these.
        {"Trickle", with([](auto& r) { r.bodySize = 100, r.trickleMs = 100; }), at("/t"),
         "raised: timed out", "raised: timed out"},
        {"Endless", with([](auto& r) { r.endless = true, r.trickleMs = 100; }), at("/t"),
         "raised: timed out", "raised: timed out"},
        {"Dropped", with([](auto& r) { r.drop = true; }), at("/t"), "raised: Empty reply",
         "raised: Empty reply"},
        {"Refused", nullptr, [](const QString& s) { return server->closedUrl(s, "/t"); },
         "raised: Couldn't connect", "raised: Couldn't connect"},
        {"UnknownAuthority", nullptr, [](const QString&) { return server->untrustedUrl("/t"); },
         "raised: certificate", ""},
        {"Charset", text(200, "\xcf\xf0\xe8", "text/plain; charset=windows-1251"), at("/t"),
         QStringLiteral("\u041F\u0440\u0438"), QStringLiteral("\u041F\u0440\u0438")},
        {"QuotedCharset", text(200, "\xe9", "text/html; charset=\"ISO-8859-1\""), at("/t"),
         QStringLiteral("\u00E9"), QStringLiteral("\u00E9")},
        {"NoCharset", text(200, "\xc3\xa9"), at("/t"), QStringLiteral("\u00E9"),
         QStringLiteral("\u00C3\u00A9")},
        {"UnknownCharset", text(200, "\xc3\xa9", "text/plain; charset=x-nonsense"), at("/t"),
         QStringLiteral("\u00E9"), QStringLiteral("\u00C3\u00A9")},
        {"LargestReply", with([](auto& r) { r.bodySize = kMaxReplyBytesForTests; }), at("/t"), big,
         big},
        {"TooLarge", with([](auto& r) { r.bodySize = kMaxReplyBytesForTests + 1; }), at("/t"),
         "raised: larger than 1048576 bytes", "raised: larger than 1048576 bytes"},
        {"TooLargeUnannounced",
         with([](auto& r) { r.bodySize = 3 * kMaxReplyBytesForTests, r.closeDelimited = true; }),
         at("/t"), "raised: larger than 1048576 bytes", "raised: larger than 1048576 bytes"},
    };
    const QStringList fields{"cmd=check", "text=a b"};
    for (const TransportCase& c : cases) {
        for (const QString scheme : {"https", "http"}) {
            const QString expected = scheme == "https" ? c.https : c.http;
            if (expected.isEmpty())
                continue;
            SCOPED_TRACE(std::string(c.name) + " over " + scheme.toStdString());
            server->clear();
            if (c.response)
                server->respond("/t", {c.response()});
            const QString url = c.url(scheme);
            QElapsedTimer clock;
            clock.start();
            const QString actual = outcome([&] { return PostForm(url, fields, kShortTimeoutMs); });
            // Time-outs end the call near its deadline, not when the server gives up.
            EXPECT_LT(clock.elapsed(), 2 * kShortTimeoutMs + 2500);
            if (expected.startsWith("raised: "))
                EXPECT_TRUE(actual.startsWith("raised: ") &&
                            actual.contains(expected.mid(8), Qt::CaseInsensitive))
                    << outcomeText(actual).toStdString();
            else
                EXPECT_TRUE(actual == expected) << outcomeText(actual).toStdString();
            if (!c.finalMethod.isEmpty() && scheme == "https") {
                const QList<RecordedRequest> requests = server->requests();
                ASSERT_FALSE(requests.isEmpty());
                EXPECT_EQ(requests.last().method, c.finalMethod);
                EXPECT_EQ(requests.last().body, c.finalMethod == "GET" ? "" : "cmd=check&text=a+b");
            }
        }
    }
}

TEST_F(PostFormTest, OnlyLowerCaseHttpsSchemeIsSecure) {
    server->respond("/s", {ScriptedResponse::text(200, "secure")}, Scheme::Https);
    server->respond("/s", {ScriptedResponse::text(200, "plain")}, Scheme::Http);
    EXPECT_EQ(PostForm(server->url("https", "/s"), {}), "secure");
    EXPECT_EQ(PostForm(server->url("HTTPS", "/s"), {}), "plain");
    EXPECT_EQ(PostForm(server->url("Https", "/s"), {}), "plain");
    EXPECT_EQ(PostForm(server->url("http", "/s"), {}), "plain");
}

TEST_F(PostFormTest, CallsOnTwoThreadsShareNothing) {
    ScriptedResponse slow = ScriptedResponse::text(200, "secure");
    slow.delayMs = 200;
    server->respond("/a", {slow});
    server->respond("/b", {ScriptedResponse::text(200, "plain")});
    QString a, b;
    std::thread worker(
        [&] { a = outcome([] { return PostForm(server->url("https", "/a"), {"x=1"}); }); });
    b = outcome([] { return PostForm(server->url("http", "/b"), {"y=2"}); });
    worker.join();
    EXPECT_EQ(a, "secure");
    EXPECT_EQ(b, "plain");
}

TEST_F(PostFormTest, SecurePostFallsBackOnlyOnError) {
    ScriptedResponse dropped;
    dropped.drop = true;
    ScriptedResponse tooLarge;
    tooLarge.bodySize = kMaxReplyBytesForTests + 1;
    const struct {
        const char* name;
        ScriptedResponse https;
        ScriptedResponse http;
        QString outcome;
        QStringList schemes; // of the requests the server saw
    } cases[] = {
        {"Secure",
         ScriptedResponse::text(200, "secure"),
         ScriptedResponse::text(200, "plain"),
         "secure",
         {"https"}},
        {"SecureErrorPage",
         ScriptedResponse::text(500, "oops"),
         ScriptedResponse::text(200, "plain"),
         "oops",
         {"https"}},
        {"SecureEmptyReply",
         ScriptedResponse::text(200, ""),
         ScriptedResponse::text(200, "plain"),
         "",
         {"https"}},
        {"SecureFails", dropped, ScriptedResponse::text(200, "plain"), "plain", {"https", "http"}},
        // Too large is an answer all the same: it never starts an unencrypted request.
        {"SecureTooLarge",
         tooLarge,
         ScriptedResponse::text(200, "plain"),
         "raised: The server's reply is larger than 1048576 bytes",
         {"https"}},
        {"BothFail",
         dropped,
         ScriptedResponse::text(503, "down"),
         "raised: HTTP/1.1 503",
         {"https", "http"}},
    };
    const QStringList fields{"cmd=feedback", "text=x"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server->clear();
        server->respond("/php/feedback.php", {c.https}, Scheme::Https);
        server->respond("/php/feedback.php", {c.http}, Scheme::Http);
        const QString actual =
            outcome([&] { return SecurePost(server->host() + "/php/feedback.php", fields, 2000); });
        if (c.outcome.startsWith("raised: "))
            EXPECT_TRUE(actual.startsWith(c.outcome)) << actual.toStdString();
        else
            EXPECT_EQ(actual, c.outcome);
        QStringList schemes;
        for (const RecordedRequest& r : server->requests()) {
            schemes << r.scheme;
            EXPECT_EQ(r.body, "cmd=feedback&text=x");
        }
        EXPECT_EQ(schemes, c.schemes);
    }
}

} // namespace
