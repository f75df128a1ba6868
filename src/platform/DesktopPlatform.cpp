#include "platform/DesktopPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaly {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Qt reads a filter's patterns from its last parenthesised group, separated
// by blanks; the shown text keeps the program's own wording.
QString qtFilter(const FileFilter& f) {
    QString patterns = f.pattern;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return f.description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

std::optional<QString> runDialog(QWidget* owner, FileDialogState& state,
                                 QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    // The open dialog does not insist that the file exists: a typed name
    // that is missing fails in the loader with its own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(state.defaultSuffix);
    QStringList filters;
    for (const FileFilter& f : state.filters)
        filters << qtFilter(f);
    dialog.setNameFilters(filters);
    if (state.filterIndex >= 0 && state.filterIndex < filters.size())
        dialog.selectNameFilter(filters[state.filterIndex]);
    if (!state.fileName.isEmpty())
        dialog.selectFile(state.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    state.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    state.filterIndex = std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
    return state.fileName;
}

} // namespace

void DesktopPlatform::messageBox(QWidget* owner, const QString& text, const QString& title,
                                 MessageIcon icon) {
    // Texts use Windows line breaks (CR LF or a lone CR); Qt breaks lines at LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(icon), title, shown, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QString> DesktopPlatform::openFileName(QWidget* owner, FileDialogState& state) {
    return runDialog(owner, state, QFileDialog::AcceptOpen);
}

std::optional<QString> DesktopPlatform::saveFileName(QWidget* owner, FileDialogState& state) {
    return runDialog(owner, state, QFileDialog::AcceptSave);
}

void DesktopPlatform::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void DesktopPlatform::openTextFile(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopPlatform::beep() {
    QApplication::beep();
}

QSize DesktopPlatform::primaryScreenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

void DesktopPlatform::createNamedMutex(const QString& name) {
    // A shared lock on a file of that name in the runtime folder: every copy of
    // the program holds it for as long as it runs.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QByteArray path = QFile::encodeName(dir + QLatin1Char('/') + name + QStringLiteral(".lock"));
    mutexFd_ = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (mutexFd_ >= 0)
        ::flock(mutexFd_, LOCK_SH | LOCK_NB);
}

} // namespace tessaly
