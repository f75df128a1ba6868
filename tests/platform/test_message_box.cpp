// The real message box of the desktop platform, shown offscreen.
#include "platform/DesktopPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace tessaly;

class MessageBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A text from outside (the server's important message) may be one long
    // run without a blank: its lines are wrapped all the same, and it is shown
    // as it came, as plain text.
    void longLinesWrapWithinTheScreen_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("one run without a blank") << QString(4096, u'w');
        QTest::newRow("words") << QStringLiteral("word ").repeated(800);
        QTest::newRow("runs of pairs") << QStringLiteral("\U0001F600").repeated(2048);
    }
    void longLinesWrapWithinTheScreen() {
        QFETCH(QString, text);
        DesktopPlatform platform;
        QSize shown;
        QString boxText;
        QTimer::singleShot(0, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->size();
                boxText = box->text();
                box->accept();
            }
        });
        platform.messageBox(nullptr, text, QStringLiteral("IMPORTANT"), MessageIcon::Warning);
        QVERIFY(shown.isValid());
        const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
        QVERIFY2(shown.width() <= screen, qPrintable(QString::number(shown.width())));
        QCOMPARE(boxText, text);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "test_message_box.moc"
