#pragma once

#include <QString>

// The process-wide name and version strings that the main window forms at
// start-up from the program's own version block; empty until then.
namespace tessaly {
extern QString AppProduct; // the product name, "Tessaly"
extern QString AppName;    // company, " - ", product: "QUARNEL - Tessaly"
extern QString AppVersion; // file version major.minor: "1.7"
} // namespace tessaly
