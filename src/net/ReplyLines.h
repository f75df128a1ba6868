#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// A reply cut into lines at CR LF, lone CR and lone LF. A break at the very
// end adds no empty last line; an empty reply has no lines.
QStringList replyLines(const QString& reply);

} // namespace tessaly
