#pragma once

#include "platform/Error.h"

#include <cstdint>

namespace tessaly {

// Windows-style error codes that the platform stand-ins report.
enum : uint32_t {
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorAccessDenied = 5,
    kErrorBadExeFormat = 193,
    kErrorResourceDataNotFound = 1812,
    kErrorResourceTypeNotFound = 1813,
};

// The calling thread's last error code, as the platform functions leave it.
uint32_t lastError();
void setLastError(uint32_t code);
// The code for an errno value.
uint32_t errorFromErrno(int err);
// The system's description of a code.
QString systemErrorText(uint32_t code);

// The error raised for the last error code: "System Error.  Code: %d.\r\n%s",
// or "A call to an OS function failed" when the code is 0.
Error lastOSError();

} // namespace tessaly
