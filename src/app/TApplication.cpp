#include "app/TApplication.h"

#include "platform/Error.h"
#include "platform/Platform.h"

#include <QFont>

namespace tessaly {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException();
    }
    return false;
}

QString TApplication::reportText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void TApplication::handleException() {
    QString message;
    try {
        throw;
    } catch (const Abort&) {
        return;
    } catch (const std::exception& e) {
        message = innermostMessage(e);
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
    const QString title = app ? app->title() : QString();
    platform().messageBox(QApplication::activeWindow(), reportText(message), title,
                          MessageIcon::Error);
}

} // namespace tessaly
