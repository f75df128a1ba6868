#include "net/FormEncoding.h"

namespace tessaly {

namespace {
bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
           c == '-' || c == '.' || c == '_';
}
} // namespace

QByteArray encodeFormText(const QString& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char byte : text.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsIs(c)) {
            out += char(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

QByteArray encodeForm(const QStringList& fields) {
    QByteArray body;
    for (const QString& field : fields) {
        const qsizetype split = field.indexOf(u'=');
        const QString name = split < 0 ? field : field.left(split);
        const QString value = split < 0 ? QString() : field.mid(split + 1);
        if (!body.isEmpty())
            body += '&';
        body += encodeFormText(name) + '=' + encodeFormText(value);
    }
    return body;
}

} // namespace tessaly
