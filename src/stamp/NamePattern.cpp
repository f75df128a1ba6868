#include "stamp/NamePattern.h"

namespace tessaly {

namespace {

constexpr const char* kPlaceholders[] = {"stem", "ext", "n", "parent"};

bool isPlaceholder(QStringView name) {
    for (const char* p : kPlaceholders) {
        if (name == QLatin1String(p))
            return true;
    }
    return false;
}

QString valueOf(QStringView name, const NameFields& f) {
    if (name == QLatin1String("stem"))
        return f.stem;
    if (name == QLatin1String("ext"))
        return f.ext;
    if (name == QLatin1String("parent"))
        return f.parent;
    const int width = int(QString::number(f.total).size());
    return QStringLiteral("%1").arg(f.number, width, 10, QLatin1Char('0'));
}

} // namespace

std::optional<QString> namePatternProblem(const QString& pattern) {
    if (pattern.isEmpty())
        return QStringLiteral("--name needs a pattern, such as \"{stem}.{ext}\"");
    if (pattern.contains(QLatin1Char('/')))
        return QStringLiteral(
            "--name makes a file name, without \"/\"; -r and -d make the folders");
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        if (pattern[at] == QLatin1Char('}'))
            return QStringLiteral("--name has a \"}\" without its \"{\"");
        if (pattern[at] != QLatin1Char('{'))
            continue;
        const qsizetype end = pattern.indexOf(QLatin1Char('}'), at);
        const QStringView name =
            end < 0 ? QStringView() : QStringView(pattern).mid(at + 1, end - at - 1);
        if (end < 0 || !isPlaceholder(name))
            return QStringLiteral("--name knows {stem}, {ext}, {n} and {parent}, not \"%1\"")
                .arg(pattern.mid(at, end < 0 ? -1 : end - at + 1));
        at = end;
    }
    return std::nullopt;
}

QString expandNamePattern(const QString& pattern, const NameFields& fields) {
    QString name;
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        const qsizetype end =
            pattern[at] == QLatin1Char('{') ? pattern.indexOf(QLatin1Char('}'), at) : -1;
        if (end < 0) {
            name += pattern[at];
            continue;
        }
        name += valueOf(QStringView(pattern).mid(at + 1, end - at - 1), fields);
        at = end;
    }
    return name;
}

} // namespace tessaly
