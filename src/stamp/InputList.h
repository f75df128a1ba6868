#pragma once

#include "stamp/FolderWalk.h"
#include "stamp/StampOptions.h"

namespace tessaly {

// The pictures of a batch: the arguments, then the names that --files-from
// lists, each folder among them walked when -r is given. A walked picture
// keeps the folders between the given folder and it, so that -d can mirror
// them; problems are the walk's lines for folders that could not be read.
// Raises when the list cannot be read.
WalkReport gatherInputs(const StampOptions& options);

// The names in a list: one a line, or each ended by a zero byte; empty
// names are skipped. "-" reads standard input.
QStringList readFileList(const QString& list, bool nulSeparated);

} // namespace tessaly
