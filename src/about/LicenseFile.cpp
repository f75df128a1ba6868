#include "about/LicenseFile.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

QString findLicenseFile(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString places[] = {
        QStringLiteral("license.txt"),
        QStringLiteral(TESSALY_DOC_FROM_BIN "/license.txt"),
    };
    for (const QString& place : places) {
        const QString path = QDir::cleanPath(folder.filePath(place));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

} // namespace tessaly
