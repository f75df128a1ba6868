#pragma once

#include <cstdint>
#include <functional>
#include <QPointer>

class QMenu;
class QPoint;
class QWidget;

namespace tessaly {

// Drops a menu down under a button. The press that closes an open menu by
// clicking its own button again would otherwise open it anew at once; a popup
// of the same button and menu within 100 ms of the last one closing is
// therefore swallowed.
class MenuPopper {
public:
    // Milliseconds on a monotonic clock, wrapping like a 32-bit tick count.
    using Clock = std::function<uint32_t()>;
    // Shows the menu at a screen point and returns when it has closed.
    using Shower = std::function<void(QMenu& menu, const QPoint& screenPos)>;

    static constexpr uint32_t ReopenGuardMs = 100;

    MenuPopper();

    void PopupBelow(QWidget& button, QMenu& menu);

    // The seams; tests replace them to run without a blocking menu.
    Clock clock;
    Shower show;

private:
    uint32_t closedAt_ = 0;
    // Weak, so that a window freed since cannot be mistaken for a new one.
    QPointer<QWidget> button_;
    QPointer<QMenu> menu_;
};

// The one popper of the process: the guard remembers one popup at a time.
MenuPopper& menuPopper();

// The real seams.
uint32_t steadyTickCount();
void execMenu(QMenu& menu, const QPoint& screenPos);

} // namespace tessaly
