#include "platform/Platform.h"

#include "platform/DesktopPlatform.h"

#include <atomic>

namespace tessaly {

namespace {
std::atomic<Platform*> installed{nullptr};
}

Platform& platform() {
    if (Platform* p = installed.load(std::memory_order_acquire))
        return *p;
    static DesktopPlatform desktop;
    return desktop;
}

void setPlatform(Platform* replacement) {
    installed.store(replacement, std::memory_order_release);
}

} // namespace tessaly
