#include "platform/Error.h"

namespace tessaly {

namespace {
QString messageOf(const std::exception& e) {
    if (auto* own = dynamic_cast<const Error*>(&e))
        return own->message();
    return QString::fromUtf8(e.what());
}
} // namespace

QString innermostMessage(const std::exception& e) {
    QString found = messageOf(e);
    try {
        std::rethrow_if_nested(e);
    } catch (const std::exception& inner) {
        QString deeper = innermostMessage(inner);
        if (!deeper.isEmpty())
            found = deeper;
    } catch (...) {
    }
    return found;
}

QString format(const char* pattern, std::initializer_list<QString> args) {
    QString out;
    auto next = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next != args.end())
                out += *next++;
            ++p;
        } else {
            out += QLatin1Char(*p);
        }
    }
    return out;
}

} // namespace tessaly
