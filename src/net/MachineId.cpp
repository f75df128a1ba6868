#include "net/MachineId.h"

#include <QFile>

namespace tessaly {

namespace {

QString guidFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray hex = file.read(64).trimmed().toLower();
    if (hex.size() != 32)
        return {};
    for (char c : hex) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return {};
    }
    const QString text = QString::fromLatin1(hex);
    return text.mid(0, 8) + u'-' + text.mid(8, 4) + u'-' + text.mid(12, 4) + u'-' +
           text.mid(16, 4) + u'-' + text.mid(20);
}

} // namespace

QStringList machineIdFiles() {
    return {QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id")};
}

QString MachineId(const QStringList& files) {
    for (const QString& path : files) {
        const QString guid = guidFromFile(path);
        if (!guid.isEmpty())
            return guid;
    }
    return {};
}

} // namespace tessaly
