#include "app/TAppForm.h"
#include "app/TApplication.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    tessaly::platform().createNamedMutex(QStringLiteral("QUARNEL_Tessaly"));
    tessaly::TApplication app(argc, argv);
    app.setTitle(QStringLiteral("Tessaly"));
    tessaly::TAppForm form;
    form.show();
    return app.exec();
}
