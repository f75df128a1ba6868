#include "settings/SettingsStore.h"

#include "platform/Error.h"
#include "platform/FileReplacer.h"
#include "settings/FileLock.h"
#include "settings/RegFile.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

namespace {
// A file that could not be read whole is kept beside the new one, so that what
// a damaged file still holds is not lost by the rewrite.
void keepDamagedCopy(const QString& file) {
    const QString copy = file + QStringLiteral(".damaged");
    QFile::remove(copy);
    QFile::copy(file, copy);
}
} // namespace

SettingsStore::SettingsStore(QString file) : file_(std::move(file)) {}

QString SettingsStore::defaultFile() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/QUARNEL/Tessaly/settings.reg");
}

RegDocument SettingsStore::load() const {
    return parseRegFile(readFileBounded(file_, kMaxRegFileBytes));
}

void SettingsStore::change(const std::function<void(RegDocument&)>& edit) {
    const QString folder = QFileInfo(file_).absolutePath();
    if (!QDir().mkpath(folder))
        throw Error(format("Cannot create the folder \"%s\"", {folder}));
    FileLock lock(file_ + QStringLiteral(".lock"));
    RegDocument document = load();
    if (document.damagedLines > 0)
        keepDamagedCopy(file_);
    edit(document);
    const QByteArray bytes = writeRegFile(document);
    if (bytes.size() > kMaxRegFileBytes)
        throw Error(format("The settings file \"%s\" would grow too large", {file_}));
    replaceFile(file_, bytes, 0600);
}

} // namespace tessaly
