#pragma once

#include <cstdint>
#include <QByteArray>
#include <QString>

namespace tessaly {

// Value types of the store, numbered as the registry numbers them so that
// exported files keep their meaning.
enum RegType : uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
};

// One named value with its raw data, as the registry keeps it: strings are
// UTF-16LE with a terminating NUL, a dword is four little-endian bytes.
struct RegValue {
    QString name; // empty for the key's default value
    uint32_t type = RegNone;
    QByteArray data;

    bool isString() const { return type == RegSz || type == RegExpandSz; }
    bool operator==(const RegValue&) const = default;
};

RegValue stringValue(const QString& name, const QString& text);
RegValue dwordValue(const QString& name, uint32_t number);
// The text of a string value, up to its first NUL.
QString textOf(const RegValue& value);

} // namespace tessaly
