#include "settings/UrlScramble.h"

#include <QByteArray>

namespace tessaly {

namespace {

// Each byte is mixed with a key that depends on its position.
QByteArray mix(QByteArray bytes) {
    uint8_t key = 0x5A;
    for (char& byte : bytes) {
        byte = static_cast<char>(static_cast<uint8_t>(byte) ^ key);
        key = static_cast<uint8_t>(key * 33 + 7);
    }
    return bytes;
}

} // namespace

QString scrambleUrl(const QString& url) {
    return QString::fromLatin1(mix(url.toUtf8()).toHex().toUpper());
}

std::optional<QString> unscrambleUrl(const QString& hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    for (QChar c : hex) {
        const char16_t u = c.toLower().unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f')))
            return std::nullopt;
    }
    return QString::fromUtf8(mix(QByteArray::fromHex(hex.toLatin1())));
}

} // namespace tessaly
