#include "support/Corpus.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace tessaly::test {

QString corpusRoot() {
    const QString root = qEnvironmentVariable("TESSALY_CORPUS");
    if (root.isEmpty() || !QFile::exists(root + QStringLiteral("/expectations.tsv")))
        return QString();
    return root;
}

std::vector<CorpusFile> corpusFiles(const QString& folder) {
    std::vector<CorpusFile> files;
    const QString root = corpusRoot();
    if (root.isEmpty())
        return files;
    QFile list(root + QStringLiteral("/expectations.tsv"));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return files;
    QTextStream in(&list);
    while (!in.atEnd()) {
        const QStringList cols = in.readLine().split(QLatin1Char('\t'));
        if (cols.size() < 2 || cols[0].startsWith(QLatin1Char('#')) || cols[1] == QLatin1String("doc"))
            continue;
        if (!cols[0].startsWith(folder + QLatin1Char('/')))
            continue;
        files.push_back({root + QLatin1Char('/') + cols[0], cols[0], cols[1]});
    }
    return files;
}

} // namespace tessaly::test
