#include "about/TAboutBox.h"

#include "about/PopupBelow.h"
#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/MakerHost.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using namespace tessaly;

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                  : type == QEvent::MouseMove        ? Qt::MouseButtons(button)
                                                                     : button;
    QMouseEvent event(type, local, w->mapToGlobal(local),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Pixels of the rain in the frame around the panel; -1 when one of them is
// not a shade of the rain's green.
int litAroundPanel(TAboutBox* box) {
    const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int lit = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if (box->Panel1->geometry().contains(x, y))
                continue;
            const QRgb p = shot.pixel(x, y);
            if (qRed(p) > qGreen(p) || qBlue(p) > qGreen(p))
                return -1;
            lit += qGreen(p) > 0;
        }
    return lit;
}

// Whether the window is gone once the deferred deletions have run.
bool freed(QPointer<TAboutBox>& box) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return box.isNull();
}

} // namespace

class TAboutBoxTest : public QObject {
    Q_OBJECT

private:
    test::RecordingPlatform platform_;
    QPointer<TAboutBox> box_;
    uint32_t now_ = 0;
    int menusShown_ = 0;

    TAboutBox* open() {
        box_ = new TAboutBox;
        box_->show();
        return box_;
    }

private Q_SLOTS:
    void initTestCase() {
        AppProduct = QStringLiteral("Tessaly");
        AppVersion = QStringLiteral("1.7");
        setMakerHost(QStringLiteral("127.0.0.1:8080"));
        // The Info menu returns at once and time passes only when a test says so.
        menuPopper().clock = [this] { return now_; };
        menuPopper().show = [this](QMenu&, const QPoint&) { ++menusShown_; };
    }

    void cleanupTestCase() {
        menuPopper().clock = steadyTickCount;
        menuPopper().show = execMenu;
    }

    void init() {
        platform_.openedUrls.clear();
        platform_.openedFiles.clear();
        platform_.clearMessages();
        menusShown_ = 0;
    }

    void cleanup() { delete box_.data(); }

    void showsProductAndVersion() {
        TAboutBox* box = open();
        QCOMPARE(box->windowTitle(), QStringLiteral("About Tessaly"));
        QCOMPARE(box->Label2->text(), QStringLiteral("Tessaly 1.7"));
        QCOMPARE(box->Label5->text(), QStringLiteral("127.0.0.1:8080"));
        QCOMPARE(box->Label5->toolTip(), QStringLiteral("http://127.0.0.1:8080/"));
        QCOMPARE(box->size(), QSize(446, 374));
        QCOMPARE(box->Panel1->geometry(), QRect(48, 42, 350, 291));
        QVERIFY(!box->Image1->pixmap().isNull());
        QCOMPARE(box->Image2->pixmap().size(), QSize(344, 105));
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    }

    void closesAndFreesItself_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "ok";
        QTest::newRow("Escape on OK") << "escapeOk";
        QTest::newRow("Escape on Info") << "escapeInfo";
        QTest::newRow("close box") << "close";
    }

    void closesAndFreesItself() {
        QFETCH(QString, how);
        TAboutBox* box = new TAboutBox;
        box_ = box;
        QTimer::singleShot(0, box, [box, how] {
            if (how == QLatin1String("ok"))
                QTest::mouseClick(box->BitBtn1, Qt::LeftButton);
            else if (how == QLatin1String("close"))
                box->close();
            else {
                QPushButton* b = how == QLatin1String("escapeOk") ? box->BitBtn1 : box->BitBtn2;
                b->setFocus();
                QTest::keyClick(b, Qt::Key_Escape);
            }
        });
        const int result = box->exec();
        QCOMPARE(result,
                 how == QLatin1String("ok") ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QVERIFY(freed(box_));
    }

    void otherKeysLeaveItOpen() {
        TAboutBox* box = open();
        QTest::keyClick(box->BitBtn1, Qt::Key_A);
        QTest::keyClick(box->BitBtn2, Qt::Key_Tab);
        QVERIFY(!freed(box_));
        QVERIFY(box->isVisible());
    }

    void infoMenuIsNotReopenedByTheClickThatClosedIt() {
        TAboutBox* box = open();
        now_ = 1000;
        QTest::mouseClick(box->BitBtn2, Qt::LeftButton);
        QCOMPARE(menusShown_, 1);
        now_ += 99; // the click that closed the menu
        QTest::mouseClick(box->BitBtn2, Qt::LeftButton);
        QCOMPARE(menusShown_, 1);
        QTest::mouseClick(box->BitBtn2, Qt::LeftButton); // the guard is spent
        QCOMPARE(menusShown_, 2);
        now_ += 100;
        QTest::mouseClick(box->BitBtn2, Qt::LeftButton);
        QCOMPARE(menusShown_, 3);
    }

    void infoGuardCountsTicksAcrossTheirWrap() {
        TAboutBox* box = open();
        now_ = 0xFFFFFFF0u;
        box->BitBtn2Click();
        now_ = 0x20u; // 48 ms later
        box->BitBtn2Click();
        QCOMPARE(menusShown_, 1);
    }

    void infoGuardForgetsAClosedWindow() {
        now_ = 5000;
        open()->BitBtn2Click();
        delete box_.data();
        now_ += 10;
        open()->BitBtn2Click();
        QCOMPARE(menusShown_, 2);
    }

    void infoMenuDropsBelowTheButton() {
        TAboutBox* box = open();
        QPoint shownAt;
        menuPopper().show = [&](QMenu& menu, const QPoint& at) {
            QCOMPARE(&menu, box->PopupMenu1);
            shownAt = at;
        };
        now_ += 1000;
        box->BitBtn2Click();
        menuPopper().show = [this](QMenu&, const QPoint&) { ++menusShown_; };
        QCOMPARE(shownAt, box->BitBtn2->mapToGlobal(QPoint(0, box->BitBtn2->height())));
        QCOMPARE(box->PopupMenu1->actions().size(), 3);
    }

    void linksOpenTheMakersPages() {
        TAboutBox* box = open();
        box->Credits1->trigger();
        box->Howtouninstall1->trigger();
        QTest::mouseClick(box->Label5, Qt::LeftButton);
        QCOMPARE(platform_.openedUrls,
                 QStringList({"http://127.0.0.1:8080/blog/credits/",
                              "http://127.0.0.1:8080/blog/how-to-uninstall-quarnel-software/",
                              "http://127.0.0.1:8080/"}));
    }

    void licenceMissingSaysSo() {
        QTemporaryDir folder;
        TAboutBox* box = open();
        box->licenseFolder = folder.path();
        box->LicensePrivacyPolicy1->trigger();
        QVERIFY(platform_.openedFiles.isEmpty());
        const auto messages = platform_.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("File not found!"));
        QCOMPARE(messages[0].title, QStringLiteral("License"));
        QCOMPARE(messages[0].icon, MessageIcon::Error);
        QVERIFY(box->isVisible());
    }

    void licenceFolderNamedLikeTheFileIsNotTheFile() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("license.txt")));
        TAboutBox* box = open();
        box->licenseFolder = folder.path();
        box->LicensePrivacyPolicy1->trigger();
        QVERIFY(platform_.openedFiles.isEmpty());
        QCOMPARE(platform_.messages().size(), 1);
    }

    void licencePresentOpensIt() {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("license.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("MIT\n");
        file.close();
        TAboutBox* box = open();
        box->licenseFolder = folder.path();
        box->LicensePrivacyPolicy1->trigger();
        QCOMPARE(platform_.openedFiles, QStringList{file.fileName()});
        QVERIFY(platform_.messages().isEmpty());
    }

    // The program in prefix/bin/, the installed copy in
    // prefix/share/doc/tessaly/; each place holds a file, a folder of the
    // licence's name or nothing.
    void licenceFoundBesideOrInstalled_data() {
        QTest::addColumn<QString>("beside");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("opened");
        QTest::newRow("installed only") << "" << "file" << "installed";
        QTest::newRow("beside only") << "file" << "" << "beside";
        QTest::newRow("both: beside first") << "file" << "file" << "beside";
        QTest::newRow("folder beside, installed file") << "folder" << "file" << "installed";
        QTest::newRow("installed name is a folder") << "" << "folder" << "";
    }
    void licenceFoundBesideOrInstalled() {
        QFETCH(QString, beside);
        QFETCH(QString, installed);
        QFETCH(QString, opened);
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        const QMap<QString, QString> places = {
            {QStringLiteral("beside"), root.filePath(QStringLiteral("bin/license.txt"))},
            {QStringLiteral("installed"),
             root.filePath(QStringLiteral("share/doc/tessaly/license.txt"))}};
        for (const auto& [place, kind] : {std::pair{QStringLiteral("beside"), beside},
                                          std::pair{QStringLiteral("installed"), installed}}) {
            if (kind.isEmpty())
                continue;
            QVERIFY(root.mkpath(kind == QStringLiteral("folder") ? places[place]
                                                                  : QFileInfo(places[place]).path()));
            if (kind == QStringLiteral("file")) {
                QFile file(places[place]);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("MIT\n");
            }
        }
        TAboutBox* box = open();
        box->licenseFolder = root.filePath(QStringLiteral("bin"));
        box->LicensePrivacyPolicy1->trigger();
        if (opened.isEmpty()) {
            QVERIFY(platform_.openedFiles.isEmpty());
            QCOMPARE(platform_.messages().size(), 1);
            QCOMPARE(platform_.messages()[0].text, QStringLiteral("File not found!"));
        } else {
            QCOMPARE(platform_.openedFiles, QStringList{places[opened]});
            QVERIFY(platform_.messages().isEmpty());
        }
    }

    void licenceDefaultsToTheProgramsFolder() {
        QCOMPARE(open()->licenseFolder, QCoreApplication::applicationDirPath());
    }

    void dragsByItsBackgroundOnly_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("moves");
        QTest::newRow("window, left") << "AboutBox" << Qt::LeftButton << QPoint(10, 10) << true;
        QTest::newRow("Panel1, left") << "Panel1" << Qt::LeftButton << QPoint(5, 200) << true;
        QTest::newRow("Panel1, middle") << "Panel1" << Qt::MiddleButton << QPoint(5, 200) << true;
        QTest::newRow("Image1, left") << "Image1" << Qt::LeftButton << QPoint(5, 5) << true;
        QTest::newRow("Image2, left") << "Image2" << Qt::LeftButton << QPoint(50, 50) << true;
        QTest::newRow("Label2, left") << "Label2" << Qt::LeftButton << QPoint(5, 5) << true;
        QTest::newRow("window, right") << "AboutBox" << Qt::RightButton << QPoint(10, 10) << false;
        QTest::newRow("Panel1, right") << "Panel1" << Qt::RightButton << QPoint(5, 200) << false;
        QTest::newRow("Image2, right") << "Image2" << Qt::RightButton << QPoint(50, 50) << false;
        QTest::newRow("Label5, left") << "Label5" << Qt::LeftButton << QPoint(5, 5) << false;
        QTest::newRow("Bevel1 edge") << "Bevel1" << Qt::LeftButton << QPoint(0, 0) << false;
        QTest::newRow("BitBtn1, left") << "BitBtn1" << Qt::LeftButton << QPoint(5, 5) << false;
        QTest::newRow("BitBtn2, left") << "BitBtn2" << Qt::LeftButton << QPoint(5, 5) << false;
    }

    void dragsByItsBackgroundOnly() {
        QFETCH(QString, control);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, at);
        QFETCH(bool, moves);
        // The buttons' own presses must not open the Info menu here.
        now_ += 1000;
        TAboutBox* box = open();
        QWidget* w = control == box->objectName() ? box : box->findChild<QWidget*>(control);
        QVERIFY(w);
        box->move(100, 100);
        const QPoint start = box->pos();

        // Events go where the window system would send them: to the control
        // pressed, and propagate to its parents when it does not take them.
        sendMouse(w, QEvent::MouseButtonPress, at, button);
        sendMouse(w, QEvent::MouseMove, at + QPoint(20, 15), button);
        QCOMPARE(box->pos() - start, moves ? QPoint(20, 15) : QPoint(0, 0));
        QCOMPARE(box->dragging, moves);
        if (moves) {
            QCOMPARE(QPoint(box->dx, box->dy),
                     w->mapToGlobal(at + QPoint(20, 15)) - QPoint(20, 15));
        }
        sendMouse(w, QEvent::MouseButtonRelease, at + QPoint(20, 15), button);
        QVERIFY(!box->dragging);
        const QPoint after = box->pos();
        sendMouse(w, QEvent::MouseMove, at + QPoint(40, 40), Qt::NoButton);
        QCOMPARE(box->pos(), after);
    }

    void rainFallsAroundThePanelOnly() {
        TAboutBox* box = open();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        // The grid follows the outer size, frame included.
        const QSize outer = box->frameGeometry().size();
        QCOMPARE_GT(outer.width(), 446);
        QCOMPARE(QSize(box->bitmapWidth, box->bitmapHeight), outer);
        QCOMPARE(box->matrixWidth, outer.width() / 8);
        QCOMPARE(box->matrixHeight, outer.height() / 12);
        QCOMPARE(matrixState().dropCount, 2 * box->matrixWidth);
        QCOMPARE(matrixState().symbols, QStringLiteral("qoz"));
        QVERIFY(box->tmTimer->isActive());
        QCOMPARE(box->tmTimer->interval(), 50);
        const QImage panel = box->Panel1->grab().toImage();
        for (int tick = 0; tick < 30; ++tick)
            box->tmTimerTimer();
        QCOMPARE(matrixState().frameCount, 30);

        const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.copy(box->Panel1->geometry()), panel.convertToFormat(QImage::Format_RGB32));

        const int lit = litAroundPanel(box);
        QVERIFY2(lit > 500, qPrintable(QString::number(lit)));
    }

    void resizeSeedsAnewWithTheStartingSize() {
        TAboutBox* box = open();
        for (int tick = 0; tick < 5; ++tick)
            box->tmTimerTimer();
        const int columns = box->frameGeometry().width() / 8;
        QResizeEvent resize(QSize(800, 600), box->size());
        QApplication::sendEvent(box, &resize);
        QCOMPARE(box->matrixWidth, columns);
        QCOMPARE(matrixState().dropCount, 2 * columns);
        QCOMPARE(matrixState().frameCount, 5);
        QCOMPARE(litAroundPanel(box), 0);
    }

    void everyOpeningStartsTheRainAgain() {
        TAboutBox* first = open();
        for (int tick = 0; tick < 5; ++tick)
            first->tmTimerTimer();
        delete box_.data();
        TAboutBox* second = open();
        QCOMPARE(matrixState().frameCount, 0);
        QCOMPARE(matrixState().dropCount, 2 * (second->frameGeometry().width() / 8));
    }
};

TESSALY_QTEST_MAIN(TAboutBoxTest)
#include "TAboutBoxTest.moc"
