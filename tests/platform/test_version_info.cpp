#include "about/VersionInfo.h"
#include "platform/SystemError.h"
#include "platform/VersionResource.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

QString raisedMessage(const QString& path, TEXEVersionData& data) {
    try {
        GetEXEVersionData(path, data);
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

bool allEmpty(const TEXEVersionData& d) {
    for (const QString* s : {&d.CompanyName, &d.FileDescription, &d.FileVersion, &d.InternalName,
                             &d.LegalCopyright, &d.LegalTrademarks, &d.OriginalFileName,
                             &d.ProductName, &d.ProductVersion, &d.Comments, &d.PrivateBuild,
                             &d.SpecialBuild})
        if (!s->isEmpty())
            return false;
    return true;
}

} // namespace

TEST(VersionInfo, ProgramsOwnBlock) {
    TEXEVersionData d;
    GetEXEVersionData(QStringLiteral(TESSALY_EXE), d);
    EXPECT_EQ(d.CompanyName, "QUARNEL");
    EXPECT_EQ(d.ProductName, "Tessaly");
    EXPECT_EQ(d.FileDescription, "Tessaly");
    EXPECT_EQ(d.InternalName, "Tessaly");
    EXPECT_EQ(d.FileVersion, "1.7.0.0");
    EXPECT_EQ(d.ProductVersion, "1.7.0.0");
    EXPECT_TRUE(d.PrivateBuild.isEmpty());
    EXPECT_TRUE(d.SpecialBuild.isEmpty());
    const uint32_t number = GetFileVersionNumber(QStringLiteral(TESSALY_EXE));
    EXPECT_EQ(number, 0x00010007u);
    EXPECT_EQ(formatVersionNumber(number), "1.7");
}

TEST(VersionInfo, OwnTranslationTableIsFoundWhateverTheCase) {
    // The block names its table "040904E4"; lookups in any case find it.
    uint32_t handle = 0;
    const QString exe = QStringLiteral(TESSALY_EXE);
    const uint32_t size = GetFileVersionInfoSizeW(exe, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe, handle, size, block.data()));
    const void* value = nullptr;
    uint32_t length = 0;
    for (const char* path : {"\\StringFileInfo\\040904e4\\ProductName",
                             "\\STRINGFILEINFO\\040904E4\\productname"}) {
        ASSERT_TRUE(VerQueryValueW(block.data(), QLatin1String(path), &value, &length)) << path;
        EXPECT_EQ(QString::fromUtf16(static_cast<const char16_t*>(value)), "Tessaly");
        EXPECT_EQ(length, 8u); // characters with the terminating NUL
    }
    EXPECT_FALSE(VerQueryValueW(block.data(), QStringLiteral("\\StringFileInfo\\040904e4\\Nope"),
                                &value, &length));
}

TEST(VersionInfo, FileWithoutBlockRaisesAndLeavesRecordEmpty) {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a program");
    f.close();

    struct Case {
        QString path;
        uint32_t code;
    };
    const Case cases[] = {
        {QCoreApplication::applicationFilePath(), kErrorResourceTypeNotFound}, // ELF, no block
        {plain, kErrorBadExeFormat},
        {dir.filePath(QStringLiteral("missing.exe")), kErrorFileNotFound},
    };
    for (const Case& c : cases) {
        TEXEVersionData d;
        const QString message = raisedMessage(c.path, d);
        EXPECT_EQ(message, QStringLiteral("System Error.  Code: %1.\r\n%2")
                               .arg(c.code)
                               .arg(systemErrorText(c.code)))
            << c.path.toStdString();
        EXPECT_TRUE(allEmpty(d));
        EXPECT_EQ(GetFileVersionNumber(c.path), 0xFFFFFFFFu);
    }
    EXPECT_EQ(formatVersionNumber(0xFFFFFFFFu), "65535.65535");
}

TEST(VersionInfo, OnlyTheFirstTranslationIsUsed) {
    TEXEVersionData d;
    GetEXEVersionData(QStringLiteral(FIXTURE_SEVERAL), d);
    EXPECT_EQ(d.CompanyName, "Deutsche Firma");
    EXPECT_EQ(d.ProductName, "Produkt");
    EXPECT_TRUE(d.Comments.isEmpty()); // only in the second language's table
    EXPECT_EQ(GetFileVersionNumber(QStringLiteral(FIXTURE_SEVERAL)), 0x00020003u);
}

TEST(VersionInfo, ValueIsCutAtItsFirstNul) {
    TEXEVersionData d;
    GetEXEVersionData(QStringLiteral(FIXTURE_NUL), d);
    EXPECT_EQ(d.CompanyName, "Before");
    EXPECT_EQ(d.ProductName, "Tessaly");
    EXPECT_EQ(formatVersionNumber(GetFileVersionNumber(QStringLiteral(FIXTURE_NUL))),
              "65535.65535");
}

TEST(VersionInfo, MissingTranslationRaises) {
    TEXEVersionData d;
    setLastError(0);
    const QString message = raisedMessage(QStringLiteral(FIXTURE_NO_TRANSLATION), d);
    EXPECT_TRUE(message.startsWith(QStringLiteral("System Error.  Code: 1813.\r\n")) ||
                message == QStringLiteral("A call to an OS function failed"))
        << message.toStdString();
    EXPECT_TRUE(allEmpty(d));
}

TEST(VersionInfo, LastErrorZeroGivesGenericMessage) {
    setLastError(0);
    EXPECT_EQ(lastOSError().message(), "A call to an OS function failed");
}
