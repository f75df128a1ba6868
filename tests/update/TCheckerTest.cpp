#include "app/TAppForm.h"
#include "net/TestTrust.h"
#include "platform/AppIdentity.h"
#include "platform/MakerHost.h"
#include "settings/RegValue.h"
#include "settings/SettingsKey.h"
#include "settings/SettingsStore.h"
#include "settings/UrlScramble.h"
#include "support/HoldingServer.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"
#include "support/TestServer.h"
#include "update/TChecker.h"
#include "update/TNewVer.h"
#include "update/UpdateState.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

using namespace tessaly;
using test::ScriptedResponse;
using test::Scheme;

namespace {

const QString kPath = QStringLiteral("/php/check2.php");
const QString kSection = programKeyPath() + QStringLiteral("\\") + settingsSection();

QByteArray reply(const QByteArray& version, const QByteArray& result = "1",
                 const QByteArray& important = "", int lines = 6,
                 const QByteArray& url = "https://maker.test/get/") {
    QList<QByteArray> all = {"<version>" + version + "</version>", "<url>" + url + "</url>",
                             "<date>2026-12-01</date>",
                             "<result>" + result + "</result>", "<notes>n</notes>",
                             "<important>" + important + "</important>"};
    return all.mid(0, lines).join("\r\n");
}

std::optional<QString> stored(const QString& name) {
    const RegDocument document = SettingsStore().load();
    const RegValue* value = document.findValue(kSection, name);
    if (!value)
        return std::nullopt;
    return textOf(*value);
}

QByteArray settingsFile() {
    QFile file(SettingsStore().file());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TNewVer* popup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TNewVer*>(w))
            return p;
    return nullptr;
}

} // namespace

class CheckerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestServer> server;
    std::unique_ptr<test::RecordingPlatform> recorder;
    std::unique_ptr<QTemporaryDir> config;
    std::unique_ptr<TAppForm> form;

    void resetState() {
        CheckerStarted = 0;
        CheckDone.store(false);
        ShowNewVersion = false;
        ShowUpdateSetting = 0;
        LatestVersion.clear();
        DownloadURL.clear();
        CloseCountdown = 11;
    }

    // Runs one check to its end: the first tick starts the worker, a later one
    // collects its outcome.
    void runCheck() {
        form->TimerCheckerTimer();
        QTRY_VERIFY_WITH_TIMEOUT(CheckDone.load(std::memory_order_acquire), 15000);
        form->TimerCheckerTimer();
    }

private Q_SLOTS:
    void initTestCase() {
        QCOMPARE(TChecker::requestTimeoutMs, 10000);
        server = std::make_unique<test::TestServer>();
        QVERIFY2(server->started(), qPrintable(server->error()));
        setTrustedAuthorityForTests(server->authorityFile());
        setMakerHost(server->host());
    }
    void cleanupTestCase() {
        setTrustedAuthorityForTests({});
        server.reset();
    }
    void init() {
        server->clear();
        resetState();
        config = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", config->path().toLocal8Bit());
        recorder = std::make_unique<test::RecordingPlatform>();
        form = std::make_unique<TAppForm>(QStringLiteral(TESSALY_EXE));
        // The test ticks by hand; the timer runs too slowly to tick by itself,
        // so that the collecting tick is seen to stop it.
        form->TimerChecker->start(3600 * 1000);
    }
    void cleanup() {
        TChecker::requestTimeoutMs = 10000;
        delete popup();
        form.reset();
        recorder.reset();
    }

    void replies_data() {
        QTest::addColumn<QString>("showUpdate"); // "" none, "dword" a DWORD value
        QTest::addColumn<QByteArray>("httpsReply"); // "drop": the HTTPS attempt fails
        QTest::addColumn<QByteArray>("httpReply");
        QTest::addColumn<bool>("popup");
        QTest::addColumn<QString>("currentVersion"); // "-" when not written
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("important");
        const QByteArray none;
        QTest::newRow("running version") << "" << reply("1.7") << none << false << "1.7" << true << "";
        QTest::newRow("lower version") << "" << reply("1.6") << none << true << "1.6" << true << "";
        QTest::newRow("1.70 against 1.7") << "" << reply("1.70") << none << true << "1.70" << true << "";
        QTest::newRow("empty version") << "" << reply("") << none << false << "" << true << "";
        QTest::newRow("letters") << "" << reply("1.8b") << none << false << "1.8b" << true << "";
        QTest::newRow("ShowUpdate 0") << "0" << reply("1.8") << none << false << "1.8" << false << "";
        QTest::newRow("ShowUpdate 2") << "2" << reply("1.8") << none << false << "1.8" << true << "";
        QTest::newRow("ShowUpdate abc") << "abc" << reply("1.8") << none << true << "1.8" << true << "";
        QTest::newRow("ShowUpdate DWORD") << "dword" << reply("1.8") << none << true << "1.8" << true << "";
        QTest::newRow("result missing") << "" << reply("1.8", "1", "", 3) << none << false << "-" << true << "";
        QTest::newRow("result empty") << "" << reply("1.8", "") << none << false << "-" << true << "";
        QTest::newRow("result 2") << "" << reply("1.8", "2") << none << false << "-" << true << "";
        QTest::newRow("result 0 counts") << "" << reply("1.8", "0") << none << true << "1.8" << true << "";
        QTest::newRow("four lines") << "" << reply("1.8", "1", "", 4) << none << true << "1.8" << true << "";
        QTest::newRow("five lines") << "" << reply("1.8", "1", "", 5) << none << true << "1.8" << true << "";
        QTest::newRow("blank important") << "" << reply("1.7", "1", " \t ") << none << false << "1.7" << true << "";
        QTest::newRow("important as plain text")
            << "" << reply("1.7", "1", "Read <b>this</b> & that") << none << false << "1.7" << true
            << "Read <b>this</b> & that";
        QTest::newRow("https fails, http answers")
            << "" << QByteArray("drop") << reply("1.9") << true << "1.9" << true << "";
        QTest::newRow("both fail") << "" << QByteArray("drop") << QByteArray("drop") << false << "-"
                                   << true << "";
    }
    void replies() {
        QFETCH(QString, showUpdate);
        QFETCH(QByteArray, httpsReply);
        QFETCH(QByteArray, httpReply);
        QFETCH(bool, popup);
        QFETCH(QString, currentVersion);
        QFETCH(bool, checked);
        QFETCH(QString, important);
        if (showUpdate == QLatin1String("dword"))
            SettingsStore().change([](RegDocument& d) {
                // 0: read as a number it would turn notifications off
                d.setValue(kSection, dwordValue(QStringLiteral("ShowUpdate"), 0));
            });
        else if (!showUpdate.isEmpty())
            SettingsKey().writeText(QStringLiteral("Settings"), QStringLiteral("ShowUpdate"), showUpdate);
        ScriptedResponse drop;
        drop.drop = true;
        auto answer = [&](const QByteArray& r) {
            return r == "drop" ? drop : ScriptedResponse::text(200, r);
        };
        server->respond(kPath, {answer(httpsReply)}, Scheme::Https);
        if (!httpReply.isEmpty())
            server->respond(kPath, {answer(httpReply)}, Scheme::Http);

        runCheck();

        QCOMPARE(stored(QStringLiteral("InstalledVersion")), std::optional<QString>(QStringLiteral("1.7")));
        if (currentVersion == QLatin1String("-")) {
            QVERIFY(!stored(QStringLiteral("CurrentVersion")));
            QVERIFY(!stored(QStringLiteral("CurrentURL")));
        } else {
            QCOMPARE(stored(QStringLiteral("CurrentVersion")), std::optional<QString>(currentVersion));
            const auto url = stored(QStringLiteral("CurrentURL"));
            QVERIFY(url);
            QCOMPARE(unscrambleUrl(*url), std::optional<QString>(QStringLiteral("https://maker.test/get/")));
            QVERIFY(*url != QStringLiteral("https://maker.test/get/"));
        }
        QCOMPARE(bool(stored(QStringLiteral("LastUpdateInform"))), popup);
        QCOMPARE(::popup() != nullptr, popup);
        QVERIFY(!form->TimerChecker->isActive());
        QVERIFY(form->UpdateNotifications1->isEnabled());
        QCOMPARE(form->UpdateNotifications1->isChecked(), checked);
        const auto messages = recorder->messages();
        QCOMPARE(messages.size(), important.isEmpty() ? 0 : 1);
        if (!important.isEmpty()) {
            QCOMPARE(messages[0].text, important);
            QCOMPARE(messages[0].title, QStringLiteral("IMPORTANT"));
            QCOMPARE(messages[0].icon, MessageIcon::Warning);
        }
        // The request: the six lines in order.
        const auto requests = server->requests();
        QVERIFY(!requests.isEmpty());
        QVERIFY(requests[0].body.startsWith("cmd=check&appname=QUARNEL+-+Tessaly&version=1.7&os="));
        QVERIFY(requests[0].body.contains("&local="));
        QVERIFY(requests[0].body.contains("&guid="));
    }

    // Values longer than any real server sends make the reply unusable: nothing
    // of it is stored or shown, and the settings file stays as the check's
    // start left it.
    void longValues_data() {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QByteArray>("important");
        QTest::addColumn<bool>("usable");
        const QByteArray url = "https://maker.test/get/";
        const QByteArray longUrl = url + QByteArray(2048 - url.size(), 'u');
        const QByteArray version = "1." + QByteArray(2046, '9');
        QTest::newRow("version of 2048") << version << url << QByteArray() << true;
        QTest::newRow("version of 2049") << version + "9" << url << QByteArray() << false;
        QTest::newRow("url of 2048") << QByteArray("1.8") << longUrl << QByteArray() << true;
        QTest::newRow("url of 2049") << QByteArray("1.8") << longUrl + "u" << QByteArray() << false;
        QTest::newRow("important of 4096")
            << QByteArray("1.8") << url << QByteArray(4096, 'i') << true;
        QTest::newRow("important of 4097")
            << QByteArray("1.8") << url << QByteArray(4097, 'i') << false;
    }
    void longValues() {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, url);
        QFETCH(QByteArray, important);
        QFETCH(bool, usable);
        SettingsKey start; // the file as the worker's start leaves it
        start.open();
        start.writeText(QStringLiteral("Settings"), QStringLiteral("InstalledVersion"),
                        QStringLiteral("1.7"));
        const QByteArray before = settingsFile();
        server->respond(kPath,
                        {ScriptedResponse::text(200, reply(version, "1", important, 6, url))});
        runCheck();
        QCOMPARE(recorder->messages().size(), usable && !important.isEmpty() ? 1 : 0);
        if (usable) {
            QCOMPARE(stored(QStringLiteral("CurrentVersion")), std::optional<QString>(version));
            QCOMPARE(unscrambleUrl(stored(QStringLiteral("CurrentURL")).value_or(QString())),
                     std::optional<QString>(url));
        } else {
            QCOMPARE(settingsFile(), before);
            QVERIFY(LatestVersion.isEmpty() && DownloadURL.isEmpty());
            QVERIFY(!::popup());
        }
    }

    // However the server holds on, each attempt ends within twice the
    // request's time-out and the check goes on as after any failure.
    void serverThatHoldsOn_data() {
        test::addHoldingRows();
    }
    void serverThatHoldsOn() {
        QFETCH(ScriptedResponse, holding);
        QFETCH(bool, httpAnswers);
        TChecker::requestTimeoutMs = 300;
        test::routeHolding(*server, kPath, holding, httpAnswers,
                           ScriptedResponse::text(200, reply("1.9")));
        QElapsedTimer clock;
        clock.start();
        runCheck();
        QVERIFY2(clock.elapsed() < 2 * 2 * 300 + 2000,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(stored(QStringLiteral("CurrentVersion")),
                 httpAnswers ? std::optional<QString>(QStringLiteral("1.9")) : std::nullopt);
        QCOMPARE(::popup() != nullptr, httpAnswers);
        QVERIFY(form->UpdateNotifications1->isEnabled());
        QVERIFY(recorder->messages().isEmpty());
    }

    void importantBoxKeepsTheSwitchDisabled() {
        server->respond(kPath, {ScriptedResponse::text(200, reply("1.8", "1", "Hello"))});
        bool disabledWhileOpen = false;
        bool popupWhileOpen = true;
        recorder->onMessageBox = [&](const test::RecordedMessage&) {
            QVERIFY(!CheckDone.load(std::memory_order_acquire));
            form->TimerCheckerTimer();
            form->TimerCheckerTimer();
            disabledWhileOpen = !form->UpdateNotifications1->isEnabled();
            popupWhileOpen = ::popup() != nullptr;
        };
        runCheck();
        QVERIFY(disabledWhileOpen);
        QVERIFY(!popupWhileOpen);
        QVERIFY(form->UpdateNotifications1->isEnabled());
        QVERIFY(::popup());
    }

    void unwritableSettingsEndTheCheckQuietly() {
        QFile blocker(config->filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
        server->respond(kPath, {ScriptedResponse::text(200, reply("1.8"))});
        form->TimerCheckerTimer();
        QTest::qWait(1500);
        for (int tick = 0; tick < 3; ++tick)
            form->TimerCheckerTimer();
        QVERIFY(!CheckDone.load());
        QVERIFY(!form->UpdateNotifications1->isEnabled());
        QVERIFY(server->requests().isEmpty());
        QVERIFY(!::popup());
        QVERIFY(recorder->messages().isEmpty());
    }

    void switchWritesTheSetting() {
        server->respond(kPath, {ScriptedResponse::text(200, reply("1.7"))});
        runCheck();
        form->UpdateNotifications1->trigger();
        QVERIFY(!form->UpdateNotifications1->isChecked());
        QCOMPARE(stored(QStringLiteral("ShowUpdate")), std::optional<QString>(QStringLiteral("0")));
        form->UpdateNotifications1->trigger();
        QVERIFY(form->UpdateNotifications1->isChecked());
        QCOMPARE(stored(QStringLiteral("ShowUpdate")), std::optional<QString>(QStringLiteral("1")));
    }

    void versionRule_data() {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("offered");
        QTest::newRow("same") << "1.7" << false;
        QTest::newRow("lower") << "1.6" << true;
        QTest::newRow("1.10") << "1.10" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "1.8b" << false;
        QTest::newRow("hex prefix") << "$1.F" << true;
        QTest::newRow("leading blanks") << "  1.8" << true;
        QTest::newRow("overflow") << "99999999.99" << false;
        QTest::newRow("only dots") << "..." << false;
    }
    void versionRule() {
        QFETCH(QString, latest);
        QFETCH(bool, offered);
        QCOMPARE(offersOtherVersion(latest, QStringLiteral("1.7")), offered);
    }
};

TESSALY_QTEST_MAIN(CheckerTest)
#include "TCheckerTest.moc"
