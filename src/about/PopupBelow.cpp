#include "about/PopupBelow.h"

#include <chrono>
#include <QMenu>
#include <QWidget>

namespace tessaly {

MenuPopper::MenuPopper() : clock(steadyTickCount), show(execMenu) {}

void MenuPopper::PopupBelow(QWidget& button, QMenu& menu) {
    if (button_ == &button && menu_ == &menu &&
        static_cast<uint32_t>(clock() - closedAt_) < ReopenGuardMs) {
        button_.clear();
        menu_.clear();
        return;
    }
    const QPointer<QWidget> shownButton(&button);
    const QPointer<QMenu> shownMenu(&menu);
    show(menu, button.mapToGlobal(QPoint(0, button.height())));
    closedAt_ = clock();
    // A menu command may have closed the window while the menu was up.
    button_ = shownButton;
    menu_ = shownMenu;
}

MenuPopper& menuPopper() {
    static MenuPopper popper;
    return popper;
}

uint32_t steadyTickCount() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void execMenu(QMenu& menu, const QPoint& screenPos) {
    menu.exec(screenPos);
}

} // namespace tessaly
