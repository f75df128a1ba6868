#include "net/LocaleTag.h"
#include "net/MachineId.h"
#include "net/OsDescription.h"
#include "net/RequestFields.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

TEST(MachineId, GuidFormOfTheFirstReadableFile) {
    QTemporaryDir dir;
    auto file = [&](const char* name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    };
    const QString good = file("good", "3d1219c7c4c5404aaa1f6d2a48adfda4\n");
    const QString upper = file("upper", "3D1219C7C4C5404AAA1F6D2A48ADFDA4");
    const QString uninitialized = file("uninit", "uninitialized\n");
    const QString shortId = file("short", "3d1219c7c4c5404aaa1f6d2a48adfda\n");
    const QString notHex = file("nothex", "3d1219c7c4c5404aaa1f6d2a48adfdaz\n");
    const QString empty = file("empty", "");
    const QString missing = dir.filePath("missing");
    const QString expected = "3d1219c7-c4c5-404a-aa1f-6d2a48adfda4";

    EXPECT_EQ(MachineId({good}), expected);
    EXPECT_EQ(MachineId({upper}), expected);
    EXPECT_EQ(MachineId({missing, uninitialized, shortId, good}), expected);
    EXPECT_EQ(MachineId({missing, empty, notHex, shortId, uninitialized}), "");
    EXPECT_EQ(MachineId({}), "");
}

TEST(MachineId, ThisMachineGivesGuidOrNothing) {
    const QString id = MachineId();
    EXPECT_TRUE(id.isEmpty() ||
                QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$")
                    .match(id)
                    .hasMatch())
        << id.toStdString();
}

TEST(OsDescription, Formats) {
    const struct {
        OsValues values;
        const char* text;
    } cases[] = {
        {{"Windows 10", 10, 0, 19043, 0, true},
         "Windows 10 (Version 10.0, Build 19043, 64-bit Edition)"},
        {{"Windows XP", 5, 1, 2600, 3, false},
         "Windows XP Service Pack 3 (Version 5.1, Build 2600, 32-bit Edition)"},
        {{"Odd %1 %2 name", 6, 1, 7, 0, false},
         "Odd %1 %2 name (Version 6.1, Build 7, 32-bit Edition)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatOsDescription(c.values), c.text);
}

TEST(OsDescription, ValuesFromLinuxSources) {
    const struct {
        OsSources sources;
        const char* text;
    } cases[] = {
        {{"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian "
          "GNU/Linux\"\nVERSION_ID=\"12\"\n",
          "6.1.0-18-amd64", "x86_64"},
         "Debian GNU/Linux 12 (Version 6.1, Build 0, 64-bit Edition)"},
        {{"NAME='Arch Linux'\n", "6.18.44-fc-v1403", "aarch64"},
         "Arch Linux (Version 6.18, Build 44, 64-bit Edition)"},
        {{"NAME=Alpine\\ Linux\nVERSION_ID=3.19.1", "5.15", "i686"},
         "Alpine Linux 3.19.1 (Version 5.15, Build 0, 32-bit Edition)"},
        {{"", "", "armv7l"}, "Linux (Version 0.0, Build 0, 32-bit Edition)"},
        {{"garbage\n=\nNAME", "99999999999.x", ""}, "Linux (Version 0.0, Build 0, 32-bit Edition)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatOsDescription(osValuesFrom(c.sources)), c.text)
            << c.sources.osRelease.toStdString();
    EXPECT_TRUE(OsDescription().contains(" (Version ")) << OsDescription().toStdString();
}

TEST(LocaleTag, LanguageAndCountryOfTheEnvironment) {
    const struct {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* tag;
    } cases[] = {
        {"", "", "de_DE.UTF-8", "de-DE"},
        {"", "", "pt_BR", "pt-BR"},
        {"", "", "de_DE@euro", "de-DE"},
        {"fr_FR.UTF-8", "", "de_DE.UTF-8", "fr-FR"},
        {"", "it_IT.UTF-8", "de_DE.UTF-8", "it-IT"},
        {"", "", "", "en-US"},
        {"", "", "C.UTF-8", "en-US"},
        {"POSIX", "", "de_DE.UTF-8", "en-US"},
        {"", "", "xx_YY", "en-US"},
        {"", "", "de", "de-DE"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment;
        environment.insert("LC_ALL", c.lcAll);
        environment.insert("LC_MESSAGES", c.lcMessages);
        environment.insert("LANG", c.lang);
        EXPECT_EQ(localeTagFrom(environment), c.tag)
            << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
    }
    EXPECT_EQ(localeTagFrom(QProcessEnvironment()), "en-US");
}

TEST(RequestFields, IdentificationLinesInOrder) {
    const QStringList fields = identificationFields();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0], "os=" + OsDescription());
    EXPECT_EQ(fields[1], "local=" + LocaleTag());
    EXPECT_EQ(fields[2], "guid=" + MachineId());
    EXPECT_EQ(commonFields("check").first(), "cmd=check");
}

} // namespace
