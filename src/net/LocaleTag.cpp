#include "net/LocaleTag.h"

#include <QLocale>

namespace tessaly {

namespace {

QString localeName(const QProcessEnvironment& environment) {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(variable));
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace

QString localeTagFrom(const QProcessEnvironment& environment) {
    const QString fallback = QStringLiteral("en-US");
    QString name = localeName(environment);
    name = name.left(name.indexOf(u'.')).section(u'@', 0, 0); // drop ".UTF-8" and "@euro"
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return fallback;
    const QLocale locale(name);
    const QString tag = locale.name(); // "language_TERRITORY"
    if (locale.language() == QLocale::C || !tag.contains(u'_'))
        return fallback;
    return QString(tag).replace(u'_', u'-');
}

QString LocaleTag() {
    static const QString tag = localeTagFrom(QProcessEnvironment::systemEnvironment());
    return tag;
}

} // namespace tessaly
