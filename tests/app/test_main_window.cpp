#include "app/PictureBox.h"
#include "app/TAppForm.h"
#include "app/TrackBar.h"
#include "platform/AppIdentity.h"
#include "platform/ClickLabel.h"
#include "platform/MakerHost.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace tessaly;

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        recorder = std::make_unique<test::RecordingPlatform>();
        setMakerHost(QStringLiteral("127.0.0.1:9"));
        form = std::make_unique<TAppForm>(QStringLiteral(TESSALY_EXE));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        recorder.reset();
    }

    void captionAndIdentity() {
        QCOMPARE(form->windowTitle(), QStringLiteral("QUARNEL - Tessaly"));
        QCOMPARE(AppProduct, QStringLiteral("Tessaly"));
        QCOMPARE(AppName, QStringLiteral("QUARNEL - Tessaly"));
        QCOMPARE(AppVersion, QStringLiteral("1.7"));
        QVERIFY(recorder->messages().isEmpty());
        QCOMPARE(form->centralWidget()->size(), QSize(580, 390));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("fontPixels");
        auto row = [](const char* n, QRect g, const char* t, bool v, int px = 16) {
            QTest::newRow(n) << QString::fromLatin1(n) << g << QString::fromUtf8(t) << v << px;
        };
        row("BitBtn1", {8, 8, 177, 25}, "Load Image", true);
        row("BitBtn2", {8, 39, 177, 25}, "Load Watermark", true);
        row("Label4", {84, 70, 101, 19}, "Transparency:", true);
        row("TrackBar1", {194, 69, 375, 45}, "", true, 11);
        row("Image1", {8, 120, 177, 177}, "", true, 11);
        row("Image2", {200, 120, 177, 177}, "", true, 11);
        row("Image3", {392, 120, 177, 177}, "", true, 11);
        row("BitBtn3", {392, 303, 177, 37}, "Save to File...", false);
        row("Panel1", {0, 345, 580, 45}, "", true, 11);
        row("BitBtn5", {3, 3, 180, 39}, "Send Feedback...", true);
        row("BitBtn4", {189, 3, 180, 39}, "About...", true);
        row("Label3", {372, 0, 208, 45}, "127.0.0.1:9", true, 19);
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, visible);
        QFETCH(int, fontPixels);
        auto* w = form->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->isVisible(), visible);
        QCOMPARE(w->font().pixelSize(), fontPixels);
        if (auto* b = qobject_cast<QPushButton*>(w))
            QCOMPARE(b->text(), text);
        if (auto* l = qobject_cast<QLabel*>(w))
            QCOMPARE(l->text(), text);
    }

    void initialState() {
        QCOMPARE(form->Label1->text(), QStringLiteral("[None]"));
        QCOMPARE(form->Label2->text(), QStringLiteral("[None]"));
        QCOMPARE(form->Label1->geometry().topLeft(), QPoint(200, 13));
        QCOMPARE(form->Label2->geometry().topLeft(), QPoint(200, 44));
        QCOMPARE(form->Label1->height(), 19);
        QCOMPARE(form->Label1->width(), form->Label1->sizeHint().width());
        QVERIFY(form->Label1->toolTip().isEmpty());
        QCOMPARE(form->TrackBar1->value(), 125);
        QCOMPARE(form->TrackBar1->minimum(), 0);
        QCOMPARE(form->TrackBar1->maximum(), 250);
        QCOMPARE(form->TrackBar1->singleStep(), 5);
        QCOMPARE(form->TrackBar1->pageStep(), 2);
        QCOMPARE(form->TrackBar1->tickInterval(), 10);
        QCOMPARE(form->TrackBar1->tickPosition(), QSlider::TicksBelow);
        for (PictureBox* box : {form->Image1, form->Image2, form->Image3})
            QVERIFY(!box->picture());
        QVERIFY(form->TimerChecker->isActive());
        QCOMPARE(form->TimerChecker->interval(), 1000);
        QVERIFY(form->Label3->font().underline());
        QCOMPARE(form->Label3->cursor().shape(), Qt::PointingHandCursor);
    }

    void tabOrder() {
        const QList<QWidget*> expected = {form->BitBtn1, form->BitBtn2, form->TrackBar1,
                                          form->BitBtn5, form->BitBtn4};
        form->BitBtn1->setFocus();
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected[i]); // hidden Save is skipped
        }
        form->BitBtn3->show();
        form->TrackBar1->setFocus();
        QTest::keyClick(form->TrackBar1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->BitBtn3);
    }

    void menus() {
        const QList<QAction*> file = form->File1->actions();
        QCOMPARE(file.size(), 4);
        QCOMPARE(file[0]->text(), QStringLiteral("Load Image..."));
        QCOMPARE(file[1]->text(), QStringLiteral("Load Watermark..."));
        QVERIFY(file[2]->isSeparator());
        QCOMPARE(file[3]->text(), QStringLiteral("Exit"));
        const QList<QAction*> help = form->Help1->actions();
        QCOMPARE(help.size(), 6);
        QCOMPARE(help[0]->text(), QStringLiteral("Online Help"));
        QCOMPARE(help[0]->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(help[1]->isSeparator());
        QCOMPARE(help[2]->text(), QStringLiteral("Update Notifications"));
        QVERIFY(help[2]->isChecked());
        QVERIFY(!help[2]->isEnabled());
        QVERIFY(help[2]->icon().isNull());
        QVERIFY(help[3]->isSeparator());
        QCOMPARE(help[4]->text(), QStringLiteral("Send Feedback"));
        QCOMPARE(help[5]->text(), QStringLiteral("About"));
        // Pictures by their index in ImageList1.
        QCOMPARE(form->ImageList1.size(), 6);
        for (QAction* a : {form->LoadImage1, form->LoadWatermark1, form->Exit1, form->Help2,
                           form->SendFeedback1, form->About1})
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        QCOMPARE(form->Exit1->icon().cacheKey(), form->ImageList1[0].cacheKey());
        QCOMPARE(form->Help2->icon().cacheKey(), form->ImageList1[5].cacheKey());
        QCOMPARE(form->LoadImage1->icon().cacheKey(), form->ImageList1[4].cacheKey());
    }

    void onlineHelpAndHomePage() {
        QTest::keyClick(form.get(), Qt::Key_F1);
        form->Help2->trigger();
        QTest::mouseClick(form->Label3, Qt::LeftButton);
        QCOMPARE(recorder->openedUrls,
                 QStringList({QStringLiteral("http://127.0.0.1:9/help/tessaly/"),
                              QStringLiteral("http://127.0.0.1:9/help/tessaly/"),
                              QStringLiteral("http://127.0.0.1:9/")}));
    }

    void helpAddress_data() {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "Tessaly" << "/help/tessaly/";
        QTest::newRow("blanks and capitals") << "My Big Tool" << "/help/my-big-tool/";
        QTest::newRow("only A to Z lowered") << QString::fromUtf8("ÄBC Été") << QString::fromUtf8("/help/Äbc-Été/");
        QTest::newRow("empty") << "" << "/help//";
    }
    void helpAddress() {
        QFETCH(QString, product);
        QFETCH(QString, path);
        QCOMPARE(TAppForm::helpAddress(product), QStringLiteral("http://127.0.0.1:9") + path);
    }

    void exitEndsTheLoop() {
        QEventLoop loop;
        QTimer::singleShot(0, form.get(), [this] { form->Exit1->trigger(); });
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
        QCOMPARE(loop.exec(), 0);
    }

    void startWithoutVersionBlock() {
        recorder->clearMessages();
        AppProduct = AppName = AppVersion = QString();
        const QString noBlock = QCoreApplication::applicationFilePath();
        TAppForm broken(noBlock);
        broken.show();
        QVERIFY(QTest::qWaitForWindowExposed(&broken));
        QCOMPARE(broken.windowTitle(), QString());
        QVERIFY(AppProduct.isEmpty() && AppName.isEmpty() && AppVersion.isEmpty());
        const auto messages = recorder->messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].text.startsWith(QStringLiteral("System Error.  Code: 1813.\r\n")));
        QVERIFY(messages[0].text.endsWith(QLatin1Char('.')));
        QCOMPARE(messages[0].title, QStringLiteral("Tessaly"));
        QCOMPARE(messages[0].icon, MessageIcon::Error);
    }

private:
    std::unique_ptr<test::RecordingPlatform> recorder;
    std::unique_ptr<TAppForm> form;
};

TESSALY_QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
