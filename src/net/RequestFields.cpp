#include "net/RequestFields.h"

#include "net/LocaleTag.h"
#include "net/MachineId.h"
#include "net/OsDescription.h"
#include "platform/AppIdentity.h"

namespace tessaly {

QStringList commonFields(const QString& command) {
    return {QStringLiteral("cmd=") + command, QStringLiteral("appname=") + AppName,
            QStringLiteral("version=") + AppVersion};
}

QStringList identificationFields() {
    return {QStringLiteral("os=") + OsDescription(), QStringLiteral("local=") + LocaleTag(),
            QStringLiteral("guid=") + MachineId()};
}

} // namespace tessaly
