#include "about/VersionInfo.h"

#include "platform/SystemError.h"
#include "platform/VersionResource.h"

#include <vector>

namespace tessaly {

namespace {

std::vector<char> readBlock(const QString& path) {
    uint32_t handle = 0;
    const uint32_t size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        throw lastOSError();
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(path, handle, size, block.data()))
        throw lastOSError();
    return block;
}

// The text of a string value: everything before its first NUL.
QString textAt(const void* value) {
    return QString::fromUtf16(static_cast<const char16_t*>(value));
}

} // namespace

void GetEXEVersionData(const QString& path, TEXEVersionData& data) {
    const std::vector<char> block = readBlock(path);
    const void* value = nullptr;
    uint32_t length = 0;
    if (!VerQueryValueW(block.data(), QStringLiteral("\\VarFileInfo\\Translation\\"), &value,
                        &length) ||
        length < 4)
        throw lastOSError();
    const auto* translation = static_cast<const uint8_t*>(value);
    const unsigned language = translation[0] | (translation[1] << 8);
    const unsigned codePage = translation[2] | (translation[3] << 8);
    const QString key = QString::asprintf("%.4x%.4x", language, codePage);

    struct Field {
        const char* name;
        QString TEXEVersionData::*member;
    };
    static const Field fields[] = {
        {"CompanyName", &TEXEVersionData::CompanyName},
        {"FileDescription", &TEXEVersionData::FileDescription},
        {"FileVersion", &TEXEVersionData::FileVersion},
        {"InternalName", &TEXEVersionData::InternalName},
        {"LegalCopyright", &TEXEVersionData::LegalCopyright},
        {"LegalTrademarks", &TEXEVersionData::LegalTrademarks},
        {"OriginalFileName", &TEXEVersionData::OriginalFileName},
        {"ProductName", &TEXEVersionData::ProductName},
        {"ProductVersion", &TEXEVersionData::ProductVersion},
        {"Comments", &TEXEVersionData::Comments},
        {"PrivateBuild", &TEXEVersionData::PrivateBuild},
        {"SpecialBuild", &TEXEVersionData::SpecialBuild},
    };
    for (const Field& field : fields) {
        const QString subBlock =
            QStringLiteral("\\StringFileInfo\\") + key + QLatin1Char('\\') + QLatin1String(field.name);
        if (VerQueryValueW(block.data(), subBlock, &value, &length))
            data.*field.member = textAt(value);
    }
}

uint32_t GetFileVersionNumber(const QString& path) {
    uint32_t result = 0xFFFFFFFFu;
    uint32_t handle = 0;
    const uint32_t size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return result;
    std::vector<char> block(size);
    const void* value = nullptr;
    uint32_t length = 0;
    if (GetFileVersionInfoW(path, handle, size, block.data()) &&
        VerQueryValueW(block.data(), QStringLiteral("\\"), &value, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        result = static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionMS;
    }
    return result;
}

QString formatVersionNumber(uint32_t number) {
    return QString::asprintf("%d.%d", int(number >> 16), int(number & 0xFFFF));
}

} // namespace tessaly
