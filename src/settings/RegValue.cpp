#include "settings/RegValue.h"

namespace tessaly {

RegValue stringValue(const QString& name, const QString& text) {
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        data.append(static_cast<char>(c.unicode() & 0xFF));
        data.append(static_cast<char>(c.unicode() >> 8));
    }
    data.append(2, '\0');
    return {name, RegSz, data};
}

RegValue dwordValue(const QString& name, uint32_t number) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return {name, RegDword, data};
}

QString textOf(const RegValue& value) {
    QString text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(value.data.constData());
    for (qsizetype i = 0; i + 1 < value.data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

} // namespace tessaly
