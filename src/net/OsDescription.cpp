#include "net/OsDescription.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <sys/utsname.h>

namespace tessaly {

namespace {

// One KEY=value line of os-release, quotes and backslash escapes removed.
QString osReleaseField(const QString& text, const QString& key) {
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (!line.startsWith(key + u'='))
            continue;
        QString value = line.mid(key.size() + 1);
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        value.replace(QRegularExpression(QStringLiteral(R"(\\(.))")), QStringLiteral("\\1"));
        return value;
    }
    return {};
}

// The leading decimal digits of each dot-separated part: "6.1.0-18" gives 6, 1, 0.
// A number too large for an int counts as 0.
QList<int> kernelNumbers(const QString& release) {
    QList<int> numbers;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral(R"(^(\d+)(?:\.(\d+))?(?:\.(\d+))?)")).match(release);
    for (int i = 1; i <= 3; ++i)
        numbers.append(match.captured(i).toInt());
    return numbers;
}

bool is64BitMachine(const QString& machine) {
    return machine.contains(QStringLiteral("64")) || machine == u"s390x";
}

QString readSmallFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(64 * 1024)) : QString();
}

} // namespace

QString formatOsDescription(const OsValues& v) {
    const QString edition =
        v.x64 ? QStringLiteral("64-bit Edition") : QStringLiteral("32-bit Edition");
    const QString major = QString::number(v.major), minor = QString::number(v.minor);
    const QString build = QString::number(v.build);
    if (v.servicePack == 0)
        return QStringLiteral("%1 (Version %2.%3, Build %4, %5)")
            .arg(v.name, major, minor, build, edition);
    return QStringLiteral("%1 Service Pack %2 (Version %3.%4, Build %5, %6)")
        .arg(v.name, QString::number(v.servicePack), major, minor, build, edition);
}

OsValues osValuesFrom(const OsSources& sources) {
    OsValues values;
    values.name = osReleaseField(sources.osRelease, QStringLiteral("NAME"));
    if (values.name.isEmpty())
        values.name = QStringLiteral("Linux");
    const QString version = osReleaseField(sources.osRelease, QStringLiteral("VERSION_ID"));
    if (!version.isEmpty())
        values.name += u' ' + version;
    const QList<int> numbers = kernelNumbers(sources.kernelRelease);
    values.major = numbers[0];
    values.minor = numbers[1];
    values.build = numbers[2];
    values.x64 = is64BitMachine(sources.machine);
    return values;
}

OsSources systemOsSources() {
    OsSources sources;
    sources.osRelease = readSmallFile(QStringLiteral("/etc/os-release"));
    if (sources.osRelease.isEmpty())
        sources.osRelease = readSmallFile(QStringLiteral("/usr/lib/os-release"));
    struct utsname names {};
    if (uname(&names) == 0) {
        sources.kernelRelease = QString::fromLocal8Bit(names.release);
        sources.machine = QString::fromLocal8Bit(names.machine);
    }
    return sources;
}

QString OsDescription() {
    static const QString description = formatOsDescription(osValuesFrom(systemOsSources()));
    return description;
}

} // namespace tessaly
