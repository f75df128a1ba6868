#include "app/ProcessEnd.h"
#include "app/TAppForm.h"
#include "app/TApplication.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    tessaly::platform().createNamedMutex(QStringLiteral("QUARNEL_Tessaly"));
    tessaly::TApplication app(argc, argv);
    app.setTitle(QStringLiteral("Tessaly"));
    // Lets the desktop match the window to its menu entry and icon.
    tessaly::TApplication::setDesktopFileName(QStringLiteral(TESSALY_APP_ID));
    tessaly::TAppForm form;
    form.show();
    return tessaly::endRun(app.exec());
}
