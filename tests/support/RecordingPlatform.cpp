#include "support/RecordingPlatform.h"

namespace tessaly::test {

RecordingPlatform::RecordingPlatform() {
    setPlatform(this);
}

RecordingPlatform::~RecordingPlatform() {
    setPlatform(nullptr);
}

void RecordingPlatform::messageBox(QWidget*, const QString& text, const QString& title,
                                   MessageIcon icon) {
    RecordedMessage m{text, title, icon};
    {
        std::lock_guard lock(mutex_);
        messages_.append(m);
    }
    if (onMessageBox)
        onMessageBox(m);
}

QList<RecordedMessage> RecordingPlatform::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

void RecordingPlatform::clearMessages() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

namespace {
std::optional<QString> answer(std::deque<std::optional<QString>>& answers, FileDialogState& state) {
    if (answers.empty())
        return std::nullopt;
    std::optional<QString> a = answers.front();
    answers.pop_front();
    if (a)
        state.fileName = *a;
    return a;
}
} // namespace

std::optional<QString> RecordingPlatform::openFileName(QWidget*, FileDialogState& state) {
    openDialogs.append(state);
    return answer(openAnswers, state);
}

std::optional<QString> RecordingPlatform::saveFileName(QWidget*, FileDialogState& state) {
    saveDialogs.append(state);
    return answer(saveAnswers, state);
}

void RecordingPlatform::openUrl(const QString& url) {
    openedUrls.append(url);
}

void RecordingPlatform::openTextFile(const QString& path) {
    openedFiles.append(path);
}

void RecordingPlatform::beep() {
    ++beeps;
}

QSize RecordingPlatform::primaryScreenSize() {
    return screenSize;
}

void RecordingPlatform::createNamedMutex(const QString& name) {
    mutexNames.append(name);
}

} // namespace tessaly::test
