#include "settings/RegFile.h"

namespace tessaly {

namespace {

constexpr qsizetype kHexLineWidth = 76;

QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// Strings with line breaks would break the line structure of the file; they,
// and any string whose bytes are not exactly its text, are written as
// hexadecimal instead. Other control characters (tabs above all) stay quoted,
// as the reader takes them: in hexadecimal each would take six characters, and
// a file that reads could grow past the size that is read back.
bool fitsQuoted(const RegValue& value) {
    if (value.type != RegSz)
        return false;
    const QString text = textOf(value);
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r')
            return false;
    }
    return stringValue({}, text).data == value.data && QString::fromUtf8(text.toUtf8()) == text;
}

QString hexData(const RegValue& value, qsizetype lineStart) {
    QString out = value.type == RegBinary ? QStringLiteral("hex:")
                                          : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    qsizetype column = lineStart + out.size();
    for (qsizetype i = 0; i < value.data.size(); ++i) {
        out += QStringLiteral("%1").arg(static_cast<unsigned char>(value.data[i]), 2, 16,
                                        QLatin1Char('0'));
        column += 2;
        if (i + 1 == value.data.size())
            break;
        out += u',';
        if (++column >= kHexLineWidth) {
            out += QStringLiteral("\\\n  ");
            column = 2;
        }
    }
    return out;
}

QString valueLine(const RegValue& value) {
    QString line = value.name.isEmpty() ? QStringLiteral("@=") : quoted(value.name) + u'=';
    if (fitsQuoted(value))
        return line + quoted(textOf(value));
    if (value.type == RegDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        return line + QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
    }
    return line + hexData(value, line.size());
}

} // namespace

QByteArray writeRegFile(const RegDocument& document) {
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\n");
    for (const RegKey& key : document.keys) {
        text += u'\n' + (u'[' + key.path + u']') + u'\n';
        for (const RegValue& value : key.values)
            text += valueLine(value) + u'\n';
    }
    return text.toUtf8();
}

} // namespace tessaly
