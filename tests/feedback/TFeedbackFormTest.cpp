#include "feedback/OpinionPanel.h"
#include "feedback/TFeedbackForm.h"
#include "feedback/LimitedMemo.h"
#include "net/TestTrust.h"
#include "platform/AppIdentity.h"
#include "platform/MakerHost.h"
#include "support/HoldingServer.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

using namespace tessaly;
using test::ScriptedResponse;
using test::Scheme;

namespace {

const QByteArray kPath = "/php/feedback.php";
const QString kFailure = QStringLiteral(
    "Something went wrong. Your feedback could not be delivered.\r\rPlease try again later.");
const QString kSuccess = QStringLiteral("Your feedback is received.\r\rThank you!");
const QByteArray kCommon = "cmd=feedback&appname=QUARNEL+-+Tessaly&version=1.7&feedback=";

} // namespace

class FeedbackFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestServer> server;
    std::unique_ptr<test::RecordingPlatform> recorder;
    QPointer<TFeedbackForm> form;

    void clickSend() { QTest::mouseClick(form->BitBtn1, Qt::LeftButton); }

private Q_SLOTS:
    void initTestCase() {
        server = std::make_unique<test::TestServer>();
        QVERIFY2(server->started(), qPrintable(server->error()));
        setTrustedAuthorityForTests(server->authorityFile());
        setMakerHost(server->host());
        AppProduct = QStringLiteral("Tessaly");
        AppName = QStringLiteral("QUARNEL - Tessaly");
        AppVersion = QStringLiteral("1.7");
    }
    void cleanupTestCase() {
        setTrustedAuthorityForTests({});
        server.reset();
    }
    void init() {
        server->clear();
        recorder = std::make_unique<test::RecordingPlatform>();
        form = new TFeedbackForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.data()));
    }
    void cleanup() {
        delete form.data();
        recorder.reset();
    }

    void layout() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Tessaly feedback"));
        QCOMPARE(form->size(), QSize(525, 326));
        QCOMPARE(form->Panel4->caption()->text(), QStringLiteral("I like it!"));
        QCOMPARE(form->Panel5->caption()->text(), QStringLiteral("I dislike it!"));
        QCOMPARE(form->Panel4->width(), 257);
        QCOMPARE(form->Panel5->width(), 256);
        QCOMPARE(form->Label1->text(), QStringLiteral("We would really appreciate your feedback."));
        QCOMPARE(form->Label2->text(), QStringLiteral("What did you like or dislike?"));
        QCOMPARE(form->Label3->text(), QStringLiteral("Include my e-mail:"));
        QCOMPARE(form->BitBtn1->text(), QStringLiteral("Send"));
        QCOMPARE(form->BitBtn1->size(), QSize(180, 34));
        QVERIFY(form->BitBtn1->isDefault());
        QCOMPARE(form->Edit1->maxLength(), 100);
        QCOMPARE(QApplication::focusWidget(), form->Memo1);
        QVERIFY(!form->Panel4->isSelected() && !form->Panel5->isSelected());
    }

    // Input that would pass the memo's 10000 characters is refused where it
    // comes in: the text already there stays whole, and undo still works.
    void memoLimit_data() {
        QTest::addColumn<int>("length");   // of the memo before: 'a's, then 'z's from the middle
        QTest::addColumn<int>("selected"); // characters selected from the cursor in the middle
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("added"); // what comes in at the cursor
        QTest::newRow("type into a full memo") << 10000 << 0 << "x"
                                               << ""
                                               << "";
        QTest::newRow("line break into a full memo") << 10000 << 0 << "\n"
                                                     << ""
                                                     << "";
        QTest::newRow("paste into a full memo") << 10000 << 0 << ""
                                                << "xyz"
                                                << "";
        QTest::newRow("paste the front that fits") << 9998 << 0 << ""
                                                   << "xyz"
                                                   << "xy";
        QTest::newRow("a CR LF counts once") << 9996 << 0 << ""
                                             << "1\r\n2\r\n3"
                                             << "1\n2\n";
        QTest::newRow("no half of a pair") << 9999 << 0 << "" << QStringLiteral("\U0001F600") << "";
        QTest::newRow("type over a selection") << 10000 << 1 << "x"
                                               << ""
                                               << "x";
        QTest::newRow("paste over a selection") << 10000 << 2 << ""
                                                << "xyz"
                                                << "xy";
        QTest::newRow("type with room") << 9999 << 0 << "x"
                                        << ""
                                        << "x";
    }
    void memoLimit() {
        QFETCH(int, length);
        QFETCH(int, selected);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, added);
        const int middle = length / 2;
        const QString before = QString(middle, u'a') + QString(length - middle, u'z');
        form->Memo1->setPlainText(before);
        QTextCursor cursor = form->Memo1->textCursor();
        cursor.setPosition(middle);
        cursor.setPosition(middle + selected, QTextCursor::KeepAnchor);
        form->Memo1->setTextCursor(cursor);
        if (typed == QLatin1String("\n"))
            QTest::keyClick(form->Memo1, Qt::Key_Return);
        else if (!typed.isEmpty())
            QTest::keyClicks(form->Memo1, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keySequence(form->Memo1, QKeySequence::Paste);
        }
        const QString after = before.left(middle) + added + before.mid(middle + selected);
        QCOMPARE(form->Memo1->toPlainText(), after);
        QVERIFY(after.size() <= 10000);
        QCOMPARE(form->Memo1->textCursor().position(), middle + added.size());
        if (!added.isEmpty()) {
            form->Memo1->undo();
            QCOMPARE(form->Memo1->toPlainText(), before);
        }
    }

    void opinionPanels() {
        const QPalette system = QApplication::palette();
        QTest::mouseClick(form->Image1, Qt::LeftButton); // the picture counts as the panel
        QVERIFY(form->Panel4->isSelected());
        QCOMPARE(form->Panel4->color(), system.color(QPalette::Highlight));
        QCOMPARE(form->Panel4->frameShadow(), QFrame::Sunken);
        QTest::mouseClick(form->Panel4, Qt::LeftButton); // clicking it again changes nothing
        QVERIFY(form->Panel4->isSelected());
        QTest::mouseClick(form->Panel5, Qt::LeftButton);
        QVERIFY(form->Panel5->isSelected());
        QVERIFY(!form->Panel4->isSelected());
        QCOMPARE(form->Panel4->color(), system.color(QPalette::Button));
        QCOMPARE(form->Panel4->frameShadow(), QFrame::Raised);
    }

    void sending_data() {
        QTest::addColumn<int>("opinion"); // 0 none, 1 like, 2 dislike
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("delivered");
        const QByteArray like = kCommon + "I+like+it%21%0D";
        QTest::newRow("like, empty memo") << 1 << "" << "" << QByteArray("OK") << like << true;
        QTest::newRow("dislike, text and address")
            << 2 << "Too slow" << " me@example.org " << QByteArray("OK")
            << kCommon + "I+dislike+it%21%0DToo+slow&email=me%40example.org" << true;
        QTest::newRow("spaces, line breaks, non-ASCII")
            << 0 << QString::fromUtf8("  \n Nice tool\n\nZeile \xc3\xa4 100%+  \n ") << ""
            << QByteArray("OK") << kCommon + "Nice+tool%0D%0A%0D%0AZeile+%C3%A4+100%25%2B" << true;
        QTest::newRow("OK and a line break") << 1 << "" << "" << QByteArray("OK\r\n") << like << true;
        QTest::newRow("OK in blanks") << 1 << "" << "" << QByteArray(" OK ") << like << true;
        QTest::newRow("non-breaking spaces kept")
            << 0 << QStringLiteral("100\u00A0km\u2028line") << "" << QByteArray("OK")
            << kCommon + "100%C2%A0km%0D%0Aline" << true;
        QTest::newRow("lower case") << 1 << "" << "" << QByteArray("ok") << like << false;
        QTest::newRow("full stop") << 1 << "" << "" << QByteArray("OK.") << like << false;
        QTest::newRow("second line") << 1 << "" << "" << QByteArray("OK\nmore") << like << false;
    }
    void sending() {
        QFETCH(int, opinion);
        QFETCH(QString, memo);
        QFETCH(QString, email);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, body);
        QFETCH(bool, delivered);
        server->respond(QString::fromLatin1(kPath), {ScriptedResponse::text(200, reply)});
        if (opinion == 1)
            form->Image1Click();
        if (opinion == 2)
            form->Image2Click();
        form->Memo1->setPlainText(memo);
        form->Edit1->setText(email);
        clickSend();
        const auto requests = server->requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].scheme, QStringLiteral("https"));
        QCOMPARE(requests[0].method, QByteArray("POST"));
        QCOMPARE(requests[0].path, kPath);
        QCOMPARE(requests[0].body, body);
        const auto messages = recorder->messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, delivered ? kSuccess : kFailure);
        QCOMPARE(messages[0].title, delivered ? QStringLiteral("Success") : QStringLiteral("Failure"));
        QCOMPARE(messages[0].icon, delivered ? MessageIcon::Information : MessageIcon::Error);
        if (delivered) {
            QTRY_VERIFY(form.isNull()); // closed and freed
        } else {
            QVERIFY(!form.isNull());
            QCOMPARE(form->Memo1->toPlainText(), memo);
            QCOMPARE(form->Edit1->text(), email);
            QCOMPARE(form->Panel4->isSelected(), opinion == 1);
        }
    }

    void transports_data() {
        QTest::addColumn<bool>("httpsFails");
        QTest::addColumn<bool>("httpFails");
        QTest::addColumn<QByteArray>("httpsReply");
        QTest::addColumn<QStringList>("schemes");
        QTest::addColumn<bool>("delivered");
        QTest::newRow("https fails, http answers")
            << true << false << QByteArray() << QStringList{"https", "http"} << true;
        QTest::newRow("https answers error: no second attempt")
            << false << false << QByteArray("error") << QStringList{"https"} << false;
        QTest::newRow("both fail") << true << true << QByteArray() << QStringList{"https", "http"}
                                   << false;
    }
    void transports() {
        QFETCH(bool, httpsFails);
        QFETCH(bool, httpFails);
        QFETCH(QByteArray, httpsReply);
        QFETCH(QStringList, schemes);
        QFETCH(bool, delivered);
        ScriptedResponse drop;
        drop.drop = true;
        const QString path = QString::fromLatin1(kPath);
        server->respond(path, {httpsFails ? drop : ScriptedResponse::text(500, httpsReply)},
                        Scheme::Https);
        server->respond(path, {httpFails ? drop : ScriptedResponse::text(200, "OK")}, Scheme::Http);
        form->Image1Click();
        form->Edit1->setText(QStringLiteral("a@b.c"));
        clickSend();
        QStringList seen;
        for (const auto& r : server->requests()) {
            seen << r.scheme;
            QCOMPARE(r.body, kCommon + "I+like+it%21%0D&email=a%40b.c");
        }
        QCOMPARE(seen, schemes);
        QCOMPARE(recorder->messages().size(), 1);
        QCOMPARE(recorder->messages()[0].text, delivered ? kSuccess : kFailure);
        if (!delivered) {
            QCOMPARE(form->Edit1->text(), QStringLiteral("a@b.c"));
            clickSend(); // the user can send again
            QCOMPARE(recorder->messages().size(), 2);
        }
    }

    // However the server holds on, each attempt ends within twice the
    // window's time-out: the window is never held longer than that.
    void serverThatHoldsOn_data() {
        test::addHoldingRows();
    }
    void serverThatHoldsOn() {
        QFETCH(ScriptedResponse, holding);
        QFETCH(bool, httpAnswers);
        QCOMPARE(form->timeoutMs, 3000);
        form->timeoutMs = 300;
        test::routeHolding(*server, QString::fromLatin1(kPath), holding, httpAnswers,
                           ScriptedResponse::text(200, "OK"));
        form->Image1Click();
        QElapsedTimer clock;
        clock.start();
        clickSend();
        QVERIFY2(clock.elapsed() < 2 * 2 * 300 + 2000,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(recorder->messages().size(), 1);
        QCOMPARE(recorder->messages()[0].text, httpAnswers ? kSuccess : kFailure);
    }

    void nothingToSendOnlyBeeps() {
        form->Memo1->setPlainText(QStringLiteral(" \n\t \n"));
        form->Edit1->setText(QStringLiteral("not checked"));
        clickSend();
        QCOMPARE(recorder->beeps, 1);
        QVERIFY(recorder->messages().isEmpty());
        QVERIFY(server->requests().isEmpty());
        QVERIFY(!form.isNull());
    }

    void invalidAddressIsRefused() {
        form->Memo1->setPlainText(QStringLiteral("text"));
        form->Edit1->setText(QStringLiteral("a@b.c-"));
        clickSend();
        QCOMPARE(recorder->messages().size(), 1);
        QCOMPARE(recorder->messages()[0].text, QStringLiteral("Invalid e-mail address!"));
        QCOMPARE(recorder->messages()[0].title, QStringLiteral("Failure"));
        QCOMPARE(recorder->messages()[0].icon, MessageIcon::Error);
        QVERIFY(server->requests().isEmpty());
        QCOMPARE(form->Edit1->text(), QStringLiteral("a@b.c-"));
    }

    void enterSendsFromTheAddressButBreaksTheMemoLine() {
        server->respond(QString::fromLatin1(kPath), {ScriptedResponse::text(200, "no")});
        form->Memo1->setFocus();
        QTest::keyClicks(form->Memo1, QStringLiteral("one"));
        QTest::keyClick(form->Memo1, Qt::Key_Return);
        QTest::keyClicks(form->Memo1, QStringLiteral("two"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("one\ntwo"));
        QVERIFY(server->requests().isEmpty());
        form->Edit1->setFocus();
        QTest::keyClick(form->Edit1, Qt::Key_Return);
        QCOMPARE(server->requests().size(), 1);
        QCOMPARE(server->requests()[0].body, kCommon + "one%0D%0Atwo");
    }

    void escapeCloses_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("memo") << "Memo1";
        QTest::newRow("address") << "Edit1";
        QTest::newRow("send") << "BitBtn1";
    }
    void escapeCloses() {
        QFETCH(QString, control);
        auto* w = form->findChild<QWidget*>(control);
        QVERIFY(w);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
        QTRY_VERIFY(form.isNull());
    }
};

TESSALY_QTEST_MAIN(FeedbackFormTest)
#include "TFeedbackFormTest.moc"
