#pragma once

#include "settings/SettingsStore.h"

#include <cstdint>
#include <QString>

namespace tessaly {

// The program's own key below the current user's root, and the section that
// holds its values.
inline QString programKeyPath() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\QUARNEL\\Tessaly");
}
inline QString settingsSection() {
    return QStringLiteral("Settings");
}

// An ini-style view of the program's key: a section is a subkey, a name is a
// value in it. Integers are stored as decimal text; every value is a string.
class SettingsKey {
public:
    explicit SettingsKey(SettingsStore store = SettingsStore(),
                         QString programKey = programKeyPath());

    // Creates the program's key when it does not exist; false when that fails.
    bool open();

    // The value's text read as an integer. A missing section or value, or text
    // that is not a number, gives `fallback`; a value that is not a string
    // raises "Invalid data type for '%s'".
    int32_t readInteger(const QString& section, const QString& name, int32_t fallback) const;

    // Store `text` as a string value, replacing a value of any type. Raise
    // "Failed to create key %s" when the section cannot be made and
    // "Failed to set data for '%s'" when the value cannot be stored.
    void writeText(const QString& section, const QString& name, const QString& text);
    void writeInteger(const QString& section, const QString& name, int32_t number);

private:
    QString sectionPath(const QString& section) const;

    SettingsStore store_;
    QString programKey_;
};

} // namespace tessaly
