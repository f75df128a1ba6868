#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// The lines that open every request: "cmd=", "appname=" and "version=".
QStringList commonFields(const QString& command);

// The lines that tell the server where the program runs: "os=", "local=" and
// "guid=". The update check sends them after the common fields.
QStringList identificationFields();

} // namespace tessaly
