#include "net/ReplyLines.h"

namespace tessaly {

QStringList replyLines(const QString& reply) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        if (reply[i] != u'\r' && reply[i] != u'\n')
            continue;
        lines.append(reply.mid(start, i - start));
        if (reply[i] == u'\r' && i + 1 < reply.size() && reply[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < reply.size())
        lines.append(reply.mid(start));
    return lines;
}

} // namespace tessaly
