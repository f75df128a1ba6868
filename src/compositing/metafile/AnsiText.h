#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly::metafile {

// Text of the ANSI records (wmf text, EMR_EXTTEXTOUTA): Windows-1252, with
// the symbol character set shown through the Greek and mathematical letters
// that its fonts draw.
QString decodeAnsi(const QByteArray& bytes, int charSet);

} // namespace tessaly::metafile
