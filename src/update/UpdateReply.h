#pragma once

#include <optional>
#include <QString>
#include <QStringList>

namespace tessaly {

// What a usable reply to the update request tells.
struct UpdateReply {
    QString version;   // line 0, the version tag
    QString url;       // line 1, the url tag: the download page
    QString important; // line 5, the important tag: a message for the user
};

// Reads the reply's lines. It is usable when line 3 holds the result "0" or
// "1" and no value is longer than any real server sends: version and url at
// most 2048 characters, important at most 4096. A longer value makes the whole
// reply unusable rather than being cut.
std::optional<UpdateReply> readUpdateReply(const QStringList& lines);

} // namespace tessaly
