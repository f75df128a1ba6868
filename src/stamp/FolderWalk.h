#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tessaly {

// A picture file that a walk found: its path (the walked folder's, then the
// names down to it) and the folders between the walked one and it, joined by
// "/" ("" for a file right in the walked folder).
struct FoundPicture {
    QString path;
    QString subfolder;
};

struct WalkRules {
    bool followLinks = false; // symbolic links to folders are walked too
    QString leaveOut;         // a folder never walked (the results' own), or empty
};

// What a walk found: pictures in name order, folder by folder, and a line
// "FOLDER: message" for each folder it could not read.
struct WalkReport {
    std::vector<FoundPicture> pictures;
    QStringList problems;
};

// Walks the folder and the folders in it for the files whose extension the
// picture loader reads. Symbolic links to files count as the files; links to
// folders are followed only by rule, and no folder is walked twice, so that
// a loop of links ends. A folder that cannot be read is reported and the
// walk goes on.
void walkFolder(const QString& folder, const WalkRules& rules, WalkReport& report);

} // namespace tessaly
