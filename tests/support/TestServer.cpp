#include "support/TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace tessaly::test {

namespace {

constexpr int kReplyWaitMs = 20000;

QJsonArray headerArray(const HeaderList& headers) {
    QJsonArray array;
    for (const auto& [name, value] : headers)
        array.append(QJsonArray{QString::fromLatin1(name), QString::fromLatin1(value)});
    return array;
}

QJsonObject responseObject(const ScriptedResponse& r) {
    return {{"status", r.status},
            {"headers", headerArray(r.headers)},
            {"body", QString::fromLatin1(r.body.toBase64())},
            {"bodySize", r.bodySize},
            {"delayMs", r.delayMs},
            {"stallAfterBytes", r.stallAfterBytes},
            {"stallMs", r.stallMs},
            {"drop", r.drop},
            {"closeDelimited", r.closeDelimited},
            {"silent", r.silent},
            {"trickleMs", r.trickleMs},
            {"endless", r.endless}};
}

RecordedRequest requestFrom(const QJsonObject& o) {
    RecordedRequest request;
    request.scheme = o["scheme"].toString();
    request.method = o["method"].toString().toLatin1();
    request.path = o["path"].toString().toLatin1();
    request.version = o["version"].toString().toLatin1();
    request.alpn = o["alpn"].toString().toLatin1();
    request.body = QByteArray::fromBase64(o["body"].toString().toLatin1());
    for (const QJsonValue& header : o["headers"].toArray()) {
        const QJsonArray pair = header.toArray();
        request.headers.append({pair[0].toString().toLatin1(), pair[1].toString().toLatin1()});
    }
    return request;
}

} // namespace

ScriptedResponse ScriptedResponse::text(int status, const QByteArray& body,
                                        const QByteArray& contentType) {
    ScriptedResponse response;
    response.status = status;
    response.headers = {{"Content-Type", contentType}};
    response.body = body;
    return response;
}

ScriptedResponse ScriptedResponse::redirect(int status, const QByteArray& location) {
    ScriptedResponse response;
    response.status = status;
    response.headers = {{"Location", location}};
    return response;
}

std::optional<QByteArray> RecordedRequest::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

TestServer::TestServer() {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(TESSALY_PYTHON), {QStringLiteral(TESSALY_TEST_SERVER_SCRIPT)});
    if (!process_.waitForStarted()) {
        error_ = process_.errorString();
        return;
    }
    const QJsonObject ports = readReply();
    authority_ = ports["authority"].toString();
    untrustedPort_ = ports["untrustedPort"].toInt();
    hangingPort_ = ports["hangingPort"].toInt();
    closedPort_ = ports["closedPort"].toInt();
    port_ = ports["port"].toInt();
    if (port_ == 0 && error_.isEmpty())
        error_ = QStringLiteral("the test server did not report its ports");
}

TestServer::~TestServer() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

QString TestServer::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(port_);
}

QString TestServer::url(const QString& scheme, const QString& path) const {
    return scheme + QStringLiteral("://") + host() + path;
}

QString TestServer::untrustedUrl(const QString& path) const {
    return QStringLiteral("https://127.0.0.1:%1").arg(untrustedPort_) + path;
}

QString TestServer::hangingUrl(const QString& scheme, const QString& path) const {
    return scheme + QStringLiteral("://127.0.0.1:%1").arg(hangingPort_) + path;
}

QString TestServer::closedUrl(const QString& scheme, const QString& path) const {
    return scheme + QStringLiteral("://127.0.0.1:%1").arg(closedPort_) + path;
}

void TestServer::respond(const QString& path, const QList<ScriptedResponse>& responses,
                         Scheme scheme) {
    QJsonArray array;
    for (const ScriptedResponse& response : responses)
        array.append(responseObject(response));
    const char* schemes[] = {"*", "https", "http"};
    command(
        {{"cmd", "route"}, {"path", path}, {"scheme", schemes[int(scheme)]}, {"responses", array}});
}

void TestServer::redirectChain(const QString& path, int status, int hops,
                               const ScriptedResponse& final) {
    auto hop = [&](int i) { return i == 0 ? path : path + u'/' + QString::number(i); };
    for (int i = 0; i < hops; ++i)
        respond(hop(i), {ScriptedResponse::redirect(status, hop(i + 1).toUtf8())});
    respond(hop(hops), {final});
}

QList<RecordedRequest> TestServer::requests() {
    QList<RecordedRequest> list;
    for (const QJsonValue& value : command({{"cmd", "requests"}})["requests"].toArray())
        list.append(requestFrom(value.toObject()));
    return list;
}

void TestServer::clear() {
    command({{"cmd", "clear"}});
}

QJsonObject TestServer::command(const QJsonObject& request) {
    if (!started())
        return {};
    process_.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    process_.waitForBytesWritten();
    return readReply();
}

QJsonObject TestServer::readReply() {
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(kReplyWaitMs)) {
            error_ = QStringLiteral("the test server does not answer: ") + process_.errorString();
            return {};
        }
    }
    return QJsonDocument::fromJson(process_.readLine()).object();
}

} // namespace tessaly::test
