#pragma once

#include <QString>

#include <cstdint>

namespace tessaly {

// The text values of a file's version block.
struct TEXEVersionData {
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString LegalTrademarks;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    QString PrivateBuild;
    QString SpecialBuild;
};

// Fills data from the first translation's string table of the file's version
// block. Raises the operating-system error when the file has no readable block
// or no translation table; data is then left as it was.
void GetEXEVersionData(const QString& path, TEXEVersionData& data);

// The file version's major (upper 16 bits) and minor (lower 16 bits) number,
// or 0xFFFFFFFF when it cannot be read. Never raises.
uint32_t GetFileVersionNumber(const QString& path);

// "%d.%d" of the two halves of a file-version number.
QString formatVersionNumber(uint32_t number);

} // namespace tessaly
