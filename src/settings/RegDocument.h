#pragma once

#include "settings/RegValue.h"

#include <QList>
#include <QString>

namespace tessaly {

// One key with its values, in file order.
struct RegKey {
    QString path; // full path, for example "HKEY_CURRENT_USER\Software\QUARNEL\Tessaly"
    QList<RegValue> values;
    bool operator==(const RegKey&) const = default;
};

// The keys of one settings file. Key paths and value names compare without
// regard to case, as the registry compares them.
struct RegDocument {
    QList<RegKey> keys;
    int damagedLines = 0; // lines of the file that could not be read

    const RegKey* findKey(const QString& path) const;
    const RegValue* findValue(const QString& path, const QString& name) const;
    // Adds the key when it is missing; gives the key either way.
    RegKey& ensureKey(const QString& path);
    // Stores the value under the key (made if needed), replacing one of the same name.
    void setValue(const QString& path, const RegValue& value);
};

} // namespace tessaly
