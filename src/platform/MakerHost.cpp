#include "platform/MakerHost.h"

#include <mutex>

namespace tessaly {

namespace {
std::mutex hostMutex;
QString& hostValue() {
    static QString host = QStringLiteral(TESSALY_HOST);
    return host;
}
} // namespace

QString makerHost() {
    std::lock_guard lock(hostMutex);
    return hostValue();
}

void setMakerHost(const QString& host) {
    std::lock_guard lock(hostMutex);
    hostValue() = host;
}

QString makerPage(const QString& path) {
    return QStringLiteral("http://") + makerHost() + path;
}

} // namespace tessaly
