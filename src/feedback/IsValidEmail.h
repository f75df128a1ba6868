#pragma once

#include <QString>

namespace tessaly {

// True when the address matches the program's e-mail pattern (letter case
// significant, no multi-line mode, an empty match does not count).
bool IsValidEmail(const QString& address);

} // namespace tessaly
