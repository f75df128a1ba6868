#pragma once

#include <QStringList>
#include <QThread>

namespace tessaly {

class SettingsKey;

// The update check worker: asks the maker's server once which version is
// current, stores what it learns, shows the server's important message and
// decides whether the popup is to be shown. Starts on creation and deletes
// itself when done; nobody waits for it.
class TChecker : public QThread {
    Q_OBJECT
public:
    // Creates and starts a worker.
    static void launch();

    // The time-out of each wait of the update request; each of its two
    // attempts ends within twice that. Tests shorten it before a launch.
    static inline int requestTimeoutMs = 10000;

    // Whether the last worker launched is still running (main thread).
    static bool busy();

protected:
    void run() override;

private:
    TChecker() = default;
    void Execute();
    void processReply(const QStringList& lines);
    void showImportant(const QString& message);
    void decideUpdate();
};

// The settings key that the worker opens and the main window's switch uses
// after the worker has finished; null before.
SettingsKey* settingsKey();

// The update request's endpoint on the maker's host (no scheme).
QString checkEndpoint();

// The update is announced for a version that differs from the running one and
// reads as a 32-bit integer once its points are removed.
bool offersOtherVersion(const QString& latest, const QString& running);

} // namespace tessaly
