#include "stamp/InputList.h"

#include "platform/Error.h"

#include <cstdio>
#include <QFile>
#include <QFileInfo>

namespace tessaly {

QStringList readFileList(const QString& list, bool nulSeparated) {
    QFile file(list);
    const bool open = list == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                 : file.open(QIODevice::ReadOnly);
    if (!open)
        throw Error(format("Cannot open file \"%s\". %s", {list, file.errorString()}));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(format("Cannot read file \"%s\". %s", {list, file.errorString()}));
    QStringList names;
    for (const QByteArray& name : bytes.split(nulSeparated ? '\0' : '\n')) {
        if (!name.isEmpty())
            names << QFile::decodeName(name);
    }
    return names;
}

WalkReport gatherInputs(const StampOptions& options) {
    QStringList named = options.inputs;
    if (!options.filesFrom.isEmpty())
        named += readFileList(options.filesFrom, options.nulSeparated);
    WalkReport report;
    const WalkRules rules{options.followLinks, options.outputDir};
    for (const QString& name : named) {
        if (options.recursive && QFileInfo(name).isDir())
            walkFolder(name, rules, report);
        else
            report.pictures.push_back({name, {}});
    }
    return report;
}

} // namespace tessaly
