// Draws the program's windows offscreen and saves them as PNG files for the
// README: tessaly_screenshots <executable with the version block> <folder>.
#include "about/TAboutBox.h"
#include "app/TAppForm.h"
#include "app/TApplication.h"
#include "feedback/TFeedbackForm.h"
#include "platform/AppIdentity.h"
#include "update/TNewVer.h"
#include "update/UpdateState.h"
#include "support/RecordingPlatform.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

// A landscape-like base picture and a logo on white, as PNG files.
void writeSamples(const QString& base, const QString& logo) {
    QImage photo(900, 600, QImage::Format_RGB32);
    QPainter p(&photo);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(70, 130, 210));
    sky.setColorAt(0.6, QColor(200, 220, 240));
    sky.setColorAt(0.61, QColor(70, 140, 60));
    sky.setColorAt(1, QColor(30, 80, 30));
    p.fillRect(photo.rect(), sky);
    p.setBrush(QColor(250, 220, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(700, 130), 60, 60);
    p.end();
    photo.save(base);
    QImage mark(150, 60, QImage::Format_RGB32);
    mark.fill(Qt::white);
    QPainter m(&mark);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    m.setFont(font);
    m.setPen(QColor(20, 20, 20));
    m.drawText(mark.rect(), Qt::AlignCenter, QStringLiteral("SAMPLE"));
    m.end();
    mark.save(logo);
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

    QTemporaryDir samples;
    const QString base = samples.filePath(QStringLiteral("landscape.png"));
    const QString logo = samples.filePath(QStringLiteral("logo.png"));
    writeSamples(base, logo);
    recorder.openAnswers = {base, logo};
    form.BitBtn1->click();
    form.BitBtn2->click();
    save(form, folder, QStringLiteral("main-window-result.png"));

    auto* about = new TAboutBox(&form);
    about->show();
    QTest::qWaitForWindowExposed(about);
    for (int tick = 0; tick < 60; ++tick)
        about->tmTimerTimer(); // mid-animation: the rain has filled part of the frame
    save(*about, folder, QStringLiteral("about.png"));
    about->close();

    auto* feedback = new TFeedbackForm();
    feedback->Image1Click();
    save(*feedback, folder, QStringLiteral("feedback.png"));
    feedback->close();

    LatestVersion = QStringLiteral("1.8");
    auto* popup = new TNewVer(&form);
    popup->TimerStart->stop();
    popup->TimerLink->stop();
    save(*popup, folder, QStringLiteral("update-popup.png"));
    popup->close();
    return 0;
}
