#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace tessaly {

namespace {
thread_local uint32_t lastCode = 0;
}

uint32_t lastError() {
    return lastCode;
}

void setLastError(uint32_t code) {
    lastCode = code;
}

uint32_t errorFromErrno(int err) {
    switch (err) {
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM: return kErrorAccessDenied;
    default: return 0x20000000u | static_cast<uint32_t>(err); // customer bit: an errno
    }
}

QString systemErrorText(uint32_t code) {
    switch (code) {
    case kErrorFileNotFound: return QStringLiteral("The system cannot find the file specified.");
    case kErrorPathNotFound: return QStringLiteral("The system cannot find the path specified.");
    case kErrorAccessDenied: return QStringLiteral("Access is denied.");
    case kErrorBadExeFormat: return QStringLiteral("The file is not a valid executable image.");
    case kErrorResourceDataNotFound:
        return QStringLiteral("The specified image file did not contain a resource section.");
    case kErrorResourceTypeNotFound:
        return QStringLiteral("The specified resource type cannot be found in the image file.");
    default: break;
    }
    if (code & 0x20000000u)
        return QString::fromLocal8Bit(std::strerror(static_cast<int>(code & 0xFFFFu)));
    return QString();
}

Error lastOSError() {
    uint32_t code = lastError();
    if (code == 0)
        return Error(QStringLiteral("A call to an OS function failed"));
    return Error(QStringLiteral("System Error.  Code: %1.\r\n%2")
                     .arg(code)
                     .arg(systemErrorText(code)));
}

} // namespace tessaly
