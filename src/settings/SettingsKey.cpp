#include "settings/SettingsKey.h"

#include "platform/Error.h"
#include "settings/IntegerText.h"

namespace tessaly {

SettingsKey::SettingsKey(SettingsStore store, QString programKey)
    : store_(std::move(store)), programKey_(std::move(programKey)) {}

QString SettingsKey::sectionPath(const QString& section) const {
    return programKey_ + u'\\' + section;
}

bool SettingsKey::open() {
    if (store_.load().findKey(programKey_))
        return true;
    try {
        store_.change([&](RegDocument& document) { document.ensureKey(programKey_); });
        return true;
    } catch (const Error&) {
        return false;
    }
}

int32_t SettingsKey::readInteger(const QString& section, const QString& name,
                                 int32_t fallback) const {
    const RegDocument document = store_.load();
    const RegValue* value = document.findValue(sectionPath(section), name);
    if (!value)
        return fallback;
    if (!value->isString())
        throw Error(format("Invalid data type for '%s'", {name}));
    return readInteger32(textOf(*value)).value_or(fallback);
}

void SettingsKey::writeText(const QString& section, const QString& name, const QString& text) {
    const QString path = sectionPath(section);
    if (!store_.load().findKey(path)) {
        try {
            store_.change([&](RegDocument& document) { document.ensureKey(path); });
        } catch (const Error&) {
            throw Error(format("Failed to create key %s", {section}));
        }
    }
    try {
        store_.change(
            [&](RegDocument& document) { document.setValue(path, stringValue(name, text)); });
    } catch (const Error&) {
        throw Error(format("Failed to set data for '%s'", {name}));
    }
}

void SettingsKey::writeInteger(const QString& section, const QString& name, int32_t number) {
    writeText(section, name, QString::number(number));
}

} // namespace tessaly
