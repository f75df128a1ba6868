#pragma once

#include "settings/RegDocument.h"

#include <functional>
#include <QString>

namespace tessaly {

// The per-user settings file: registry-like keys and typed values kept in a
// text file of the registry's export syntax. Reads take the file as it is;
// every change locks, re-reads, edits and replaces the file atomically, so
// two running copies never lose each other's values and a crash never leaves
// a torn file.
class SettingsStore {
public:
    explicit SettingsStore(QString file = defaultFile());

    // $XDG_CONFIG_HOME (or ~/.config) + "/QUARNEL/Tessaly/settings.reg".
    static QString defaultFile();

    const QString& file() const { return file_; }

    // The file's current content; a missing file gives no keys, a damaged one
    // the keys and values that could be read.
    RegDocument load() const;

    // Applies `edit` to the freshly read document under the lock and stores the
    // result; a damaged file is first copied to file() + ".damaged". Raises an Error with the
    // system's text when the file cannot be written or would grow beyond the size that is read
    // back.
    void change(const std::function<void(RegDocument&)>& edit);

private:
    QString file_;
};

} // namespace tessaly
