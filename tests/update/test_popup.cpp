#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/MakerHost.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"
#include "update/TNewVer.h"
#include "update/UpdateState.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace tessaly;

namespace {

// Reads the popup's count of shrink animations each time it is hidden, the
// last thing it does before it goes.
class HideWatch : public QObject {
public:
    int shrinks = -1;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            shrinks = static_cast<TNewVer*>(watched)->shrinkAnimations();
        return false;
    }
};

} // namespace

class PopupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::RecordingPlatform> recorder;
    std::unique_ptr<QWidget> mainWindow;

    QPointer<TNewVer> makePopup() {
        auto* popup = new TNewVer(mainWindow.get());
        popup->TimerStartTimer(); // grow in and show, as the first tick does
        return popup;
    }

private Q_SLOTS:
    void init() {
        recorder = std::make_unique<test::RecordingPlatform>();
        recorder->screenSize = QSize(1920, 1080);
        setMakerHost(QStringLiteral("maker.test"));
        AppProduct = QStringLiteral("Tessaly");
        LatestVersion = QStringLiteral("1.8");
        DownloadURL = QStringLiteral("https://maker.test/download/");
        CloseCountdown = 11;
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
    }
    void cleanup() {
        mainWindow.reset();
        recorder.reset();
    }

    void layoutAndPosition() {
        QPointer<TNewVer> popup = makePopup();
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->pos(), QPoint(1595, 5));
        QCOMPARE(popup->size(), QSize(320, 68));
        QVERIFY(popup->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(popup->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(popup->Label1->text(), QStringLiteral("UPDATE AVAILABLE"));
        QCOMPARE(popup->Label2->text(), QStringLiteral("Click to download Tessaly 1.8"));
        QCOMPARE(popup->Label2->textFormat(), Qt::PlainText);
        QCOMPARE(popup->Image1->geometry(), QRect(4, 4, 60, 60));
        QCOMPARE(popup->Label2->size(), QSize(230, 44));
        QCOMPARE(popup->Button1->size(), QSize(22, 22));
        QCOMPARE(popup->growAnimations(), 1);
        QVERIFY(!popup->TimerStart->isActive());
        QCOMPARE(popup->TimerClose->interval(), 1000);
        QCOMPARE(popup->TimerLink->interval(), 100);
        delete popup;
    }

    void countdownShrinksAndCloses() {
        QPointer<TNewVer> popup = makePopup();
        HideWatch watch;
        popup->installEventFilter(&watch);
        for (int tick = 1; tick <= 10; ++tick) {
            popup->TimerCloseTimer();
            QVERIFY2(popup->isVisible(), qPrintable(QString::number(tick)));
        }
        popup->TimerCloseTimer();
        QTRY_VERIFY(popup.isNull()); // closing frees the window
        QCOMPARE(watch.shrinks, 1);
    }

    void closeButtonAndLinkSkipTheShrink_data() {
        QTest::addColumn<bool>("link");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("opened");
        QTest::newRow("close button") << false << "https://maker.test/d/" << "";
        QTest::newRow("link") << true << "https://maker.test/d/" << "https://maker.test/d/";
        QTest::newRow("plain http link") << true << "http://maker.test/d/" << "http://maker.test/d/";
        QTest::newRow("empty address") << true << "" << "http://maker.test/";
        QTest::newRow("not a web address") << true << "file:///etc/passwd" << "http://maker.test/";
    }
    void closeButtonAndLinkSkipTheShrink() {
        QFETCH(bool, link);
        QFETCH(QString, url);
        QFETCH(QString, opened);
        DownloadURL = url;
        QPointer<TNewVer> popup = makePopup();
        HideWatch watch;
        popup->installEventFilter(&watch);
        if (link)
            QTest::mouseClick(popup->Label2, Qt::LeftButton);
        else
            QTest::mouseClick(popup->Button1, Qt::LeftButton);
        QTRY_VERIFY(popup.isNull());
        QCOMPARE(watch.shrinks, 0);
        QCOMPARE(recorder->openedUrls, opened.isEmpty() ? QStringList() : QStringList{opened});
    }

    void hoverColours() {
        QPointer<TNewVer> popup = makePopup();
        const QPalette system = QApplication::palette();
        QCursor::setPos(popup->Label2->mapToGlobal(QPoint(10, 10)));
        popup->TimerLinkTimer();
        QCOMPARE(popup->Label2->palette().color(QPalette::WindowText),
                 system.color(QPalette::Highlight));
        QCursor::setPos(popup->Label2->mapToGlobal(QPoint(230, 44))); // right/bottom are outside
        popup->TimerLinkTimer();
        QCOMPARE(popup->Label2->palette().color(QPalette::WindowText),
                 system.color(QPalette::WindowText));
        delete popup;
    }

    void dragRules_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("panel, left") << "Panel1" << int(Qt::LeftButton) << true;
        QTest::newRow("icon, middle") << "Image1" << int(Qt::MiddleButton) << true;
        QTest::newRow("title") << "Label1" << int(Qt::LeftButton) << true;
        QTest::newRow("right edge panel") << "Panel3" << int(Qt::LeftButton) << true;
        QTest::newRow("right button") << "Panel1" << int(Qt::RightButton) << false;
        QTest::newRow("link") << "Label2" << int(Qt::LeftButton) << false;
        QTest::newRow("text panel") << "Panel2" << int(Qt::LeftButton) << false;
    }
    void dragRules() {
        QFETCH(QString, control);
        QFETCH(int, button);
        QFETCH(bool, moves);
        DownloadURL.clear();
        QPointer<TNewVer> popup = makePopup();
        popup->TimerLink->stop();
        QWidget* w = popup->findChild<QWidget*>(control);
        QVERIFY(w);
        const QPoint start = popup->pos();
        const QPoint inside(std::min(5, w->width() - 1), std::min(10, w->height() - 2));
        QTest::mousePress(w, Qt::MouseButton(button), {}, inside);
        QMouseEvent move(QEvent::MouseMove, QPointF(inside + QPoint(30, 20)),
                         QPointF(w->mapToGlobal(inside + QPoint(30, 20))), Qt::NoButton,
                         Qt::MouseButton(button), Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        if (!popup.isNull()) {
            QCOMPARE(popup->pos() != start, moves);
            if (moves)
                QCOMPARE(popup->pos(), start + QPoint(30, 20));
            QCOMPARE(popup->dragging, moves);
            QTest::mouseRelease(w, Qt::MouseButton(button), {}, inside + QPoint(30, 20));
            if (!popup.isNull())
                QVERIFY(!popup->dragging);
        }
        delete popup;
    }
};

TESSALY_QTEST_MAIN(PopupTest)
#include "test_popup.moc"
