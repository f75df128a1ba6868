#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// Posts to "https://" + endpoint (host and path) and, only when that raises,
// once more to "http://" + endpoint. A reply of the first attempt is final
// whatever it says, and so is one too large to take (which raises). Raises
// the second attempt's error when both fail.
QString SecurePost(const QString& endpoint, const QStringList& fields, int timeoutMs = 10000);

} // namespace tessaly
