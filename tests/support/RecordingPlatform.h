#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>
#include <mutex>

namespace tessaly::test {

struct RecordedMessage {
    QString text;
    QString title;
    MessageIcon icon;
};

// A platform for tests: records what the program asked of the operating
// system and answers dialogs from a script. Installs itself while it lives.
class RecordingPlatform final : public Platform {
public:
    RecordingPlatform();
    ~RecordingPlatform() override;

    void messageBox(QWidget* owner, const QString& text, const QString& title,
                    MessageIcon icon) override;
    std::optional<QString> openFileName(QWidget* owner, FileDialogState& state) override;
    std::optional<QString> saveFileName(QWidget* owner, FileDialogState& state) override;
    void openUrl(const QString& url) override;
    void openTextFile(const QString& path) override;
    void beep() override;
    QSize primaryScreenSize() override;
    void createNamedMutex(const QString& name) override;

    // Answers for the next dialogs, in order; nothing means "cancel".
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    // Called while a message box is "open", before it returns.
    std::function<void(const RecordedMessage&)> onMessageBox;
    QSize screenSize{1920, 1080};

    // What was asked. Message boxes may come from any thread.
    QList<RecordedMessage> messages() const;
    void clearMessages();
    QStringList openedUrls;
    QStringList openedFiles;
    QStringList mutexNames;
    int beeps = 0;
    // The dialog state as each dialog saw it when it was shown.
    QList<FileDialogState> openDialogs;
    QList<FileDialogState> saveDialogs;

private:
    mutable std::mutex mutex_;
    QList<RecordedMessage> messages_;
};

} // namespace tessaly::test
