#include "settings/IntegerText.h"

namespace tessaly {

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

// Strips "$" or "0x"/"0X" and says which base the digits are in.
int takeBase(QStringView& text) {
    if (text.startsWith(u'$')) {
        text = text.mid(1);
        return 16;
    }
    if (text.size() > 1 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        text = text.mid(2);
        return 16;
    }
    return 10;
}

} // namespace

std::optional<int32_t> readInteger32(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    const int base = takeBase(text);
    if (text.isEmpty())
        return std::nullopt;
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    for (QChar c : text) {
        const int d = digitValue(c, base);
        if (d < 0)
            return std::nullopt;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

} // namespace tessaly
