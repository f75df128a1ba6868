// The main window closes while the update worker is at its check: the
// process must end cleanly whatever step the worker has reached.
#include "support/TestMain.h"
#include "support/TestServer.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace tessaly;
using test::ScriptedResponse;

class ExitRaceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestServer> server;

private Q_SLOTS:
    void initTestCase() {
        server = std::make_unique<test::TestServer>();
        QVERIFY2(server->started(), qPrintable(server->error()));
    }
    void cleanupTestCase() { server.reset(); }

    // The server answers 200 ms after the request arrives, with a new version
    // and an important message; the window closes from 40 ms to 400 ms after
    // the worker starts, so that the close meets the request, the reply's
    // processing, the message box and the end of the check.
    void windowClosesAsTheServerAnswers_data() {
        QTest::addColumn<int>("closeAfterMs");
        for (int ms = 40; ms <= 400; ms += 24)
            QTest::addRow("close after %d ms", ms) << ms;
    }
    void windowClosesAsTheServerAnswers() {
        QFETCH(int, closeAfterMs);
        ScriptedResponse answer = ScriptedResponse::text(
            200, "<version>1.9</version>\r\n<url>https://maker.test/get/</url>\r\n\r\n"
                 "<result>1</result>\r\n\r\n<important>Closing time</important>");
        answer.delayMs = 200;
        server->respond(QStringLiteral("/php/check2.php"), {answer});
        QTemporaryDir config;
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QStringLiteral(TESSALY_EXIT_RACE_HELPER),
                  {server->host(), server->authorityFile(), QString::number(closeAfterMs)});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 0);
    }
};

TESSALY_QTEST_MAIN(ExitRaceTest)
#include "test_exit_race.moc"
