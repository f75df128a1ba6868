#include "net/TestTrust.h"

#include <mutex>

namespace tessaly {

namespace {
std::mutex trustMutex;
QString& trustFile() {
    static QString file;
    return file;
}
} // namespace

void setTrustedAuthorityForTests(const QString& caFile) {
    std::lock_guard lock(trustMutex);
    trustFile() = caFile;
}

QString trustedAuthorityForTests() {
    std::lock_guard lock(trustMutex);
    return trustFile();
}

} // namespace tessaly
