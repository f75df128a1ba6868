#include "update/TChecker.h"

#include "net/ReplyLines.h"
#include "net/SecurePost.h"
#include "net/RequestFields.h"
#include "platform/AppIdentity.h"
#include "platform/MakerHost.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "settings/IntegerText.h"
#include "settings/SettingsKey.h"
#include "settings/UrlScramble.h"
#include "update/UpdateReply.h"
#include "update/UpdateState.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPointer>

#include <memory>

namespace tessaly {

namespace {

const QString kSection = QStringLiteral("Settings");
std::unique_ptr<SettingsKey> theSettingsKey;
QPointer<TChecker> lastWorker; // main thread only

QStringList requestFields() {
    return commonFields(QStringLiteral("check")) + identificationFields();
}

} // namespace

SettingsKey* settingsKey() {
    return theSettingsKey.get();
}

QString checkEndpoint() {
    return makerHost() + QStringLiteral("/php/check2.php");
}

bool offersOtherVersion(const QString& latest, const QString& running) {
    if (latest == running)
        return false;
    QString digits = latest;
    digits.remove(QLatin1Char('.'));
    return readInteger32(digits).has_value();
}

void TChecker::launch() {
    auto* worker = new TChecker();
    lastWorker = worker;
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

bool TChecker::busy() {
    return lastWorker && !lastWorker->isFinished();
}

void TChecker::run() {
    // Nothing may escape the worker: an error ends the check quietly.
    try {
        Execute();
    } catch (...) {
    }
}

void TChecker::Execute() {
    CheckDone.store(false, std::memory_order_relaxed);
    theSettingsKey = std::make_unique<SettingsKey>();
    theSettingsKey->open();
    // Not guarded: when the settings cannot be written the check ends here and
    // never reports that it is done.
    theSettingsKey->writeText(kSection, QStringLiteral("InstalledVersion"), AppVersion);
    try {
        ShowUpdateSetting = theSettingsKey->readInteger(kSection, QStringLiteral("ShowUpdate"), 1);
    } catch (...) {
        ShowUpdateSetting = 1;
    }
    try {
        QStringList lines;
        try {
            lines = replyLines(SecurePost(checkEndpoint(), requestFields(), requestTimeoutMs));
        } catch (const std::exception&) {
            // Unreachable on both schemes: nothing to learn this time.
        }
        processReply(lines);
    } catch (...) {
    }
    CheckDone.store(true, std::memory_order_release);
}

void TChecker::processReply(const QStringList& lines) {
    const std::optional<UpdateReply> reply = readUpdateReply(lines);
    if (!reply)
        return;
    LatestVersion = reply->version;
    try {
        theSettingsKey->writeText(kSection, QStringLiteral("CurrentVersion"), LatestVersion);
    } catch (...) {
    }
    DownloadURL = reply->url;
    try {
        theSettingsKey->writeText(kSection, QStringLiteral("CurrentURL"), scrambleUrl(DownloadURL));
    } catch (...) {
    }
    if (!trimControl(reply->important).isEmpty())
        showImportant(reply->important);
    decideUpdate();
}

void TChecker::showImportant(const QString& message) {
    // Windows live on the GUI thread: the box is shown there, and the worker
    // waits until the user has closed it.
    QMetaObject::invokeMethod(
        qApp,
        [message] {
            platform().messageBox(QApplication::activeWindow(), message,
                                  QStringLiteral("IMPORTANT"), MessageIcon::Warning);
        },
        Qt::BlockingQueuedConnection);
}

void TChecker::decideUpdate() {
    if (!offersOtherVersion(LatestVersion, AppVersion) || ShowUpdateSetting != 1)
        return;
    try {
        theSettingsKey->writeText(kSection, QStringLiteral("LastUpdateInform"),
                                  QLocale::system().toString(QDate::currentDate(),
                                                             QLocale::ShortFormat));
        ShowNewVersion = true;
    } catch (...) {
    }
}

} // namespace tessaly
