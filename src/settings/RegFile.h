#pragma once

#include "settings/RegDocument.h"

#include <QByteArray>

namespace tessaly {

// Settings files are written in the registry's export syntax:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\QUARNEL\Tessaly\Settings]
//   "ShowUpdate"="1"
//   "Other"=dword:00000001
//
// A file larger than this is not read at all.
constexpr qsizetype kMaxRegFileBytes = 1 << 20;

// Reads what can be read. A file without the header reads as no keys; a line
// that does not parse is counted in damagedLines and left out, so that a
// damaged file gives missing values, never an error. What reads can always be
// written back by writeRegFile within kMaxRegFileBytes: a file whose values
// would not fit then reads like one over the size (no keys, one damaged line).
RegDocument parseRegFile(const QByteArray& bytes);

// The file text of a document, in UTF-8. parseRegFile gives the document back.
QByteArray writeRegFile(const RegDocument& document);

} // namespace tessaly
