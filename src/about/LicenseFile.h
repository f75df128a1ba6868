#pragma once

#include <QString>

namespace tessaly {

// The licence text "license.txt" of the program whose executable lies in
// programFolder: beside it (a build tree, an unpacked copy), else in the
// installed documentation folder relative to it (bin/ and
// share/doc/tessaly/). Empty when neither holds it.
QString findLicenseFile(const QString& programFolder);

} // namespace tessaly
