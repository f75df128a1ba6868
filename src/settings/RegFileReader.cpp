#include "settings/RegFile.h"

#include <optional>
#include <QStringDecoder>
#include <QStringList>

namespace tessaly {

namespace {

QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

// Trimmed lines, with a line that ends in a backslash joined to the next one
// (long hexadecimal values are written across several lines).
QStringList logicalLines(const QString& text) {
    QStringList lines;
    QString pending;
    for (QStringView line : QStringView(text).split(u'\n')) {
        pending += line.trimmed();
        if (pending.endsWith(u'\\')) {
            pending.chop(1);
            continue;
        }
        lines.append(pending);
        pending.clear();
    }
    if (!pending.isEmpty())
        lines.append(pending);
    return lines;
}

// A quoted text with \\ and \" escapes, taken off the front of `rest`.
std::optional<QString> takeQuoted(QStringView& rest) {
    if (!rest.startsWith(u'"'))
        return std::nullopt;
    QString text;
    for (qsizetype i = 1; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c == u'"') {
            rest = rest.mid(i + 1);
            return text;
        }
        if (c == u'\\' && i + 1 < rest.size() && (rest[i + 1] == u'\\' || rest[i + 1] == u'"'))
            ++i;
        text.append(rest[i]);
    }
    return std::nullopt;
}

std::optional<uint32_t> hexNumber(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    bool ok = false;
    const uint32_t number = digits.toUInt(&ok, 16);
    if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-'))
        return std::nullopt;
    return number;
}

std::optional<QByteArray> hexBytes(QStringView list) {
    QByteArray bytes;
    if (list.isEmpty())
        return bytes;
    for (QStringView item : list.split(u',')) {
        item = item.trimmed();
        const auto byte = item.size() <= 2 ? hexNumber(item) : std::nullopt;
        if (!byte)
            return std::nullopt;
        bytes.append(static_cast<char>(*byte));
    }
    return bytes;
}

// The data after "=": "text", dword:n, hex:bytes or hex(type):bytes.
std::optional<RegValue> valueData(QStringView data) {
    if (data.startsWith(u'"')) {
        const auto text = takeQuoted(data);
        if (!text || !data.isEmpty())
            return std::nullopt;
        return stringValue({}, *text);
    }
    if (data.startsWith(u"dword:")) {
        const auto number = hexNumber(data.mid(6));
        return number ? std::optional(dwordValue({}, *number)) : std::nullopt;
    }
    uint32_t type = RegBinary;
    if (data.startsWith(u"hex(")) {
        const qsizetype close = data.indexOf(u')');
        const auto number = close > 4 ? hexNumber(data.mid(4, close - 4)) : std::nullopt;
        if (!number)
            return std::nullopt;
        type = *number;
        data = data.mid(close + 1);
    } else if (data.startsWith(u"hex")) {
        data = data.mid(3);
    } else {
        return std::nullopt;
    }
    if (!data.startsWith(u':'))
        return std::nullopt;
    const auto bytes = hexBytes(data.mid(1));
    return bytes ? std::optional(RegValue{{}, type, *bytes}) : std::nullopt;
}

// Key paths and value names are written as UTF-8, which has no form for half
// of a surrogate pair (a UTF-16 file can hold one): such a half reads as the
// replacement character it would be written as, so that a rewrite keeps the name.
QString writableName(QStringView name) {
    QString text = name.toString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

std::optional<RegValue> valueLine(QStringView line) {
    QString name;
    if (line.startsWith(u'@')) {
        line = line.mid(1);
    } else {
        const auto quoted = takeQuoted(line);
        if (!quoted)
            return std::nullopt;
        name = writableName(*quoted);
    }
    if (!line.startsWith(u'='))
        return std::nullopt;
    auto value = valueData(line.mid(1));
    if (value)
        value->name = name;
    return value;
}

bool isHeader(const QString& line) {
    return line == u"Windows Registry Editor Version 5.00" || line == u"REGEDIT4";
}

RegDocument tooLarge() {
    RegDocument document;
    document.damagedLines = 1;
    return document;
}

// The keys and values of the lines after the header.
void readLines(const QStringList& lines, qsizetype first, RegDocument& document) {
    QString currentPath; // empty until the first key line
    for (qsizetype i = first; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() > 2 && line[1] != u'-') {
            currentPath = writableName(QStringView(line).mid(1, line.size() - 2));
            document.ensureKey(currentPath);
            continue;
        }
        const auto value = currentPath.isEmpty() ? std::nullopt : valueLine(line);
        if (value)
            document.setValue(currentPath, *value);
        else
            ++document.damagedLines;
    }
}

} // namespace

RegDocument parseRegFile(const QByteArray& bytes) {
    if (bytes.size() > kMaxRegFileBytes)
        return tooLarge();
    RegDocument document;
    const QStringList lines = logicalLines(decodeText(bytes));
    qsizetype first = 0;
    while (first < lines.size() && lines[first].isEmpty())
        ++first;
    if (first == lines.size())
        return document;
    if (!isHeader(lines[first])) {
        document.damagedLines = int(lines.size() - first);
        return document;
    }
    readLines(lines, first + 1, document);
    // The writer's forms can be longer than a hand-written file's (eight
    // digits for every dword, two for every byte, UTF-8 for UTF-16 text): a
    // file whose values would not fit the budget once written back reads as
    // one over it, so that what reads can always be written.
    if (writeRegFile(document).size() > kMaxRegFileBytes)
        return tooLarge();
    return document;
}

} // namespace tessaly
