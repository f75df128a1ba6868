#include "update/UpdateReply.h"

#include "net/ExtractTag.h"

namespace tessaly {

namespace {

// A version is a few digits and points. Web addresses stay within 2048
// characters wherever they must work everywhere (browsers, servers' request
// lines, sitemaps), and a download page's address is far shorter. An important
// message is a notice of a few lines; 4096 characters already fill a screen.
constexpr qsizetype kMaxVersionChars = 2048;
constexpr qsizetype kMaxUrlChars = 2048;
constexpr qsizetype kMaxImportantChars = 4096;

QString tag(const QStringList& lines, int index, const QString& name) {
    return index < lines.size() ? ExtractTag(lines[index], name) : QString();
}

} // namespace

std::optional<UpdateReply> readUpdateReply(const QStringList& lines) {
    const QString result = tag(lines, 3, QStringLiteral("result"));
    if (result != QLatin1String("0") && result != QLatin1String("1"))
        return std::nullopt;
    UpdateReply reply{tag(lines, 0, QStringLiteral("version")),
                      tag(lines, 1, QStringLiteral("url")),
                      tag(lines, 5, QStringLiteral("important"))};
    if (reply.version.size() > kMaxVersionChars || reply.url.size() > kMaxUrlChars ||
        reply.important.size() > kMaxImportantChars)
        return std::nullopt;
    return reply;
}

} // namespace tessaly
