#pragma once

#include <QString>

namespace tessaly {

// For tests only: makes the HTTPS transport trust the certificate authority in
// `caFile` (PEM) instead of the system's. The program never calls this; an
// empty path restores the system's trust.
void setTrustedAuthorityForTests(const QString& caFile);
QString trustedAuthorityForTests();

} // namespace tessaly
