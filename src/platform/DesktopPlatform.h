#pragma once

#include "platform/Platform.h"

namespace tessaly {

// The real platform on a Linux desktop: Qt's dialogs and message boxes, the
// desktop's default handlers for web pages and text files.
class DesktopPlatform final : public Platform {
public:
    void messageBox(QWidget* owner, const QString& text, const QString& title,
                    MessageIcon icon) override;
    std::optional<QString> openFileName(QWidget* owner, FileDialogState& state) override;
    std::optional<QString> saveFileName(QWidget* owner, FileDialogState& state) override;
    void openUrl(const QString& url) override;
    void openTextFile(const QString& path) override;
    void beep() override;
    QSize primaryScreenSize() override;
    void createNamedMutex(const QString& name) override;

private:
    int mutexFd_ = -1;
};

} // namespace tessaly
