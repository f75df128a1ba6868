#include "net/ExtractTag.h"

namespace tessaly {

namespace {
// Only A to Z change: the tag names of replies are ASCII.
QString asciiLower(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}
} // namespace

QString ExtractTag(const QString& line, const QString& tag) {
    if (line.isEmpty() || tag.isEmpty())
        return {};
    const QString name = asciiLower(tag);
    const QString open = u'<' + name + u'>';
    const QString close = QStringLiteral("</") + name + u'>';
    if (line.size() < open.size() + close.size() || !line.startsWith(open) || !line.endsWith(close))
        return {};
    return line.mid(open.size(), line.size() - open.size() - close.size());
}

} // namespace tessaly
