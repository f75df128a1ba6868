#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tessaly::test {

// One file of the shared picture corpus and what its source suite expects.
struct CorpusFile {
    QString path;     // absolute
    QString relative; // as listed, e.g. "png/pngsuite/basn0g01.png"
    QString expect;   // valid, invalid, questionable, fuzz
};

// The corpus folder (from TESSALY_CORPUS), or empty when it is absent.
QString corpusRoot();
// The listed files under a format folder ("bmp", "png", ...), documents left out.
std::vector<CorpusFile> corpusFiles(const QString& folder);

} // namespace tessaly::test
