#pragma once

#include <QString>

namespace tessaly {

// What the description is made of.
struct OsValues {
    QString name;
    int major = 0;
    int minor = 0;
    int build = 0;
    int servicePack = 0;
    bool x64 = false; // the machine's architecture, not the program's
};

// Where the values come from on Linux: the os-release file's text and the
// kernel's release and machine names (uname).
struct OsSources {
    QString osRelease;
    QString kernelRelease;
    QString machine;
};

// "%s (Version %d.%d, Build %d, %s)", or with a service pack
// "%s Service Pack %d (Version %d.%d, Build %d, %s)"; the edition is
// "64-bit Edition" or "32-bit Edition".
QString formatOsDescription(const OsValues& values);

// Name from os-release (NAME and VERSION_ID, "Linux" without one), version and
// build from the kernel release ("6.1.0-18" is 6.1, build 0), no service pack.
OsValues osValuesFrom(const OsSources& sources);

// This system's sources, read now.
OsSources systemOsSources();

// The description of this system, determined once per run.
QString OsDescription();

} // namespace tessaly
