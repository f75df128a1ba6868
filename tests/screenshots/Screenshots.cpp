// Draws the program's windows offscreen and saves them as PNG files for the
// README: tessaly_screenshots <executable with the version block> <folder>.
#include "about/TAboutBox.h"
#include "app/TAppForm.h"
#include "app/TApplication.h"
#include "support/RecordingPlatform.h"

#include <QDir>
#include <QTest>

using namespace tessaly;

namespace {

void save(QWidget& window, const QString& folder, const QString& name) {
    window.show();
    QTest::qWaitForWindowExposed(&window);
    QTest::qWait(50);
    const QString path = QDir(folder).filePath(name);
    if (!window.grab().save(path))
        qFatal("cannot write %s", qPrintable(path));
    qInfo("wrote %s", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.setTitle(QStringLiteral("Tessaly"));
    if (argc < 3)
        qFatal("usage: tessaly_screenshots <tessaly executable> <folder>");
    const QString exe = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    test::RecordingPlatform recorder;

    TAppForm form(exe);
    save(form, folder, QStringLiteral("main-window.png"));

    auto* about = new TAboutBox(&form);
    about->show();
    QTest::qWaitForWindowExposed(about);
    for (int tick = 0; tick < 60; ++tick)
        about->tmTimerTimer(); // mid-animation: the rain has filled part of the frame
    save(*about, folder, QStringLiteral("about.png"));
    about->close();
    return 0;
}
