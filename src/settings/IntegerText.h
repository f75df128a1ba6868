#pragma once

#include <cstdint>
#include <optional>
#include <QStringView>

namespace tessaly {

// Reads a 32-bit signed integer the way the program has always read numbers
// from text: leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". Nothing may follow the digits. A
// decimal that does not fit gives nothing; hexadecimal gives the 32-bit
// pattern ("$FFFFFFFF" is -1) as long as it fits in 32 bits.
std::optional<int32_t> readInteger32(QStringView text);

} // namespace tessaly
