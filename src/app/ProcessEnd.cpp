#include "app/ProcessEnd.h"

#include "update/TChecker.h"

#include <cstdio>
#include <unistd.h>

namespace tessaly {

int endRun(int code) {
    if (!TChecker::busy())
        return code;
    std::fflush(nullptr);
    _exit(code);
}

} // namespace tessaly
