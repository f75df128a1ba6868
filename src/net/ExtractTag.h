#pragma once

#include <QString>

namespace tessaly {

// The value of a reply line of the form <tag>value</tag>, the tag name taken
// in lower case and the line compared exactly, with nothing trimmed. Empty
// text when the line does not have that form.
QString ExtractTag(const QString& line, const QString& tag);

} // namespace tessaly
