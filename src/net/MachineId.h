#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// Where the machine's identifier is kept, in the order they are tried.
QStringList machineIdFiles();

// The identifier from the first of `files` that holds 32 hexadecimal digits,
// in GUID form xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx (lower case); empty text
// when none does.
QString MachineId(const QStringList& files = machineIdFiles());

} // namespace tessaly
