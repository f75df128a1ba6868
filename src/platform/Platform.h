#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QWidget;

namespace tessaly {

enum class MessageIcon { None, Error, Warning, Information };

// One pair of a file dialog's filter list: the text shown and its patterns,
// separated by ";" ("*.gif;*.png").
struct FileFilter {
    QString description;
    QString pattern;
    bool operator==(const FileFilter&) const = default;
};

// A file dialog and what it remembers between two showings.
struct FileDialogState {
    std::vector<FileFilter> filters;
    int filterIndex = 0; // the filter selected, counted from 0
    QString defaultSuffix;
    QString fileName; // the name last chosen
    bool confirmOverwrite = false;
};

// The program's one door to the operating system's user services. Windows
// talk to it instead of to dialogs, shells or screens directly, so that
// tests can replace it with a recording one.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box with a single OK button; returns when it is closed.
    virtual void messageBox(QWidget* owner, const QString& text, const QString& title,
                            MessageIcon icon) = 0;
    // The open and save dialogs: the chosen path, or nothing when cancelled.
    // They update the state's file name and filter index.
    virtual std::optional<QString> openFileName(QWidget* owner, FileDialogState& state) = 0;
    virtual std::optional<QString> saveFileName(QWidget* owner, FileDialogState& state) = 0;
    // Opens a web address in the user's browser; failures are not reported.
    virtual void openUrl(const QString& url) = 0;
    // Opens a text file in the desktop's text viewer; failures are not reported.
    virtual void openTextFile(const QString& path) = 0;
    virtual void beep() = 0;
    virtual QSize primaryScreenSize() = 0;
    // A named object that lives as long as the process; nothing checks it.
    virtual void createNamedMutex(const QString& name) = 0;
};

// The platform in use: the real one unless a test has installed its own.
Platform& platform();
// Installs a platform (not owned); nullptr restores the real one.
void setPlatform(Platform* replacement);

} // namespace tessaly
