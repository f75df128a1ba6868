#include "stamp/metadata/RawProfile.h"

#include <cctype>

namespace tessaly {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

QByteArray rawProfileBytes(const QByteArray& text) {
    // "\nNAME\n  LENGTH\nHEX..." (the hexadecimal digits in lines)
    qsizetype at = text.indexOf('\n', 1);
    if (!text.startsWith('\n') || at < 0)
        return {};
    while (at < text.size() && isSpace(text[at]))
        ++at;
    qsizetype length = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        length = length * 10 + (text[at] - '0');
        if (length > text.size() / 2)
            return {}; // more bytes than the text has digits for
    }
    QByteArray bytes;
    bytes.reserve(length);
    int high = -1;
    for (; at < text.size() && bytes.size() < length; ++at) {
        const int v = hexValue(text[at]);
        if (v < 0 && !isSpace(text[at]))
            return {};
        if (v < 0)
            continue;
        if (high < 0) {
            high = v;
        } else {
            bytes += char(high << 4 | v);
            high = -1;
        }
    }
    return bytes.size() == length ? bytes : QByteArray();
}

QByteArray rawProfileText(const QByteArray& name, const QByteArray& bytes) {
    QByteArray text =
        '\n' + name + '\n' + QByteArray::number(bytes.size()).rightJustified(8) + '\n';
    const QByteArray hex = bytes.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 72)
        text += hex.mid(at, 72) + '\n';
    return text;
}

} // namespace tessaly
