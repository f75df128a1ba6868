#include "settings/RegDocument.h"

#include <algorithm>

namespace tessaly {

namespace {
bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

const RegKey* RegDocument::findKey(const QString& path) const {
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const RegKey& key) { return sameName(key.path, path); });
    return it == keys.end() ? nullptr : &*it;
}

const RegValue* RegDocument::findValue(const QString& path, const QString& name) const {
    const RegKey* key = findKey(path);
    if (!key)
        return nullptr;
    auto it = std::find_if(key->values.begin(), key->values.end(),
                           [&](const RegValue& value) { return sameName(value.name, name); });
    return it == key->values.end() ? nullptr : &*it;
}

RegKey& RegDocument::ensureKey(const QString& path) {
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const RegKey& key) { return sameName(key.path, path); });
    if (it != keys.end())
        return *it;
    keys.append(RegKey{path, {}});
    return keys.last();
}

void RegDocument::setValue(const QString& path, const RegValue& value) {
    QList<RegValue>& values = ensureKey(path).values;
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const RegValue& old) { return sameName(old.name, value.name); });
    if (it != values.end())
        *it = value;
    else
        values.append(value);
}

} // namespace tessaly
