#include "platform/Error.h"
#include "settings/FileLock.h"
#include "settings/IntegerText.h"
#include "settings/RegFile.h"
#include "settings/SettingsKey.h"
#include "settings/UrlScramble.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kSectionPath = programKeyPath() + "\\" + settingsSection();

class SettingsKeyTest : public ::testing::Test {
protected:
    QString file() const { return dir_.filePath("QUARNEL/Tessaly/settings.reg"); }
    SettingsStore store() const { return SettingsStore(file()); }
    void storeValue(const RegValue& value) {
        store().change([&](RegDocument& d) { d.setValue(kSectionPath, value); });
    }
    QString storedText(const QString& name) const {
        const RegDocument document = store().load();
        const RegValue* value = document.findValue(kSectionPath, name);
        return value && value->type == RegSz ? textOf(*value) : QStringLiteral("<none>");
    }
    static QString messageOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    }

    QTemporaryDir dir_;
};

TEST_F(SettingsKeyTest, ReadIntegerDefaultsAndTexts) {
    SettingsKey key{store()};
    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), 1) << "no file at all";
    ASSERT_TRUE(key.open());
    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), 1) << "no section";
    EXPECT_EQ(store().load().findKey(kSectionPath), nullptr) << "a read created the section";

    const struct {
        const char* stored;
        int32_t expected;
    } cases[] = {{"", 1},
                 {"abc", 1},
                 {"2", 2},
                 {"0", 0},
                 {"  -7", -7},
                 {"+12", 12},
                 {"$1F", 31},
                 {"0x10", 16},
                 {"$FFFFFFFF", -1},
                 {"7 ", 1},
                 {"2147483647", 2147483647},
                 {"2147483648", 1},
                 {"-2147483648", INT32_MIN},
                 {"1.7", 1},
                 {"0x", 1},
                 {"-", 1}};
    for (const auto& c : cases) {
        key.writeText(kSection, "ShowUpdate", c.stored);
        EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), c.expected) << c.stored;
    }
}

TEST_F(SettingsKeyTest, ValueOfAnotherTypeRaisesUntilReplaced) {
    storeValue(dwordValue("ShowUpdate", 0));
    SettingsKey key{store()};
    EXPECT_EQ(messageOf([&] { key.readInteger(kSection, "ShowUpdate", 1); }),
              "Invalid data type for 'ShowUpdate'");
    key.writeInteger(kSection, "ShowUpdate", 0);
    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), 0);
    EXPECT_EQ(storedText("ShowUpdate"), "0");
    storeValue(RegValue{"ShowUpdate", RegExpandSz, stringValue("", "5").data});
    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), 5) << "expandable strings are strings";
}

TEST_F(SettingsKeyTest, FirstWriteCreatesSectionAndKeepsOtherValues) {
    SettingsKey key{store()};
    key.open();
    key.writeText(kSection, "InstalledVersion", "1.7");
    key.writeInteger(kSection, "ShowUpdate", 0);
    key.writeInteger(kSection, "ShowUpdate", 1);
    key.writeText(kSection, "CurrentURL", scrambleUrl("https://quarnel.example/dl?a=1&b=\u00E9"));

    const QByteArray bytes = readFileBounded(file(), kMaxRegFileBytes);
    EXPECT_TRUE(bytes.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(bytes.contains("[HKEY_CURRENT_USER\\Software\\QUARNEL\\Tessaly\\Settings]\n"
                               "\"InstalledVersion\"=\"1.7\"\n\"ShowUpdate\"=\"1\"\n"))
        << bytes.constData();
    const QString scrambled = storedText("CurrentURL");
    EXPECT_FALSE(scrambled.contains("quarnel"));
    EXPECT_EQ(unscrambleUrl(scrambled), QStringLiteral("https://quarnel.example/dl?a=1&b=\u00E9"));
    EXPECT_EQ(unscrambleUrl("1G"), std::nullopt);
}

TEST_F(SettingsKeyTest, WriteFailuresNameWhatFailed) {
    SettingsKey key{store()};
    ASSERT_TRUE(key.open());
    // The lock file that every write takes cannot be opened: every write fails
    // (a folder in its place stops even the superuser).
    QFile::remove(file() + ".lock");
    ASSERT_TRUE(QDir().mkpath(file() + ".lock"));
    EXPECT_EQ(messageOf([&] { key.writeText(kSection, "ShowUpdate", "0"); }),
              "Failed to create key Settings");
    QDir(file() + ".lock").removeRecursively();
    key.writeText(kSection, "ShowUpdate", "1");
    QFile::remove(file() + ".lock");
    QDir().mkpath(file() + ".lock");
    EXPECT_EQ(messageOf([&] { key.writeInteger(kSection, "ShowUpdate", 0); }),
              "Failed to set data for 'ShowUpdate'");
    EXPECT_EQ(storedText("ShowUpdate"), "1") << "a failed write changed the file";
}

TEST_F(SettingsKeyTest, DamagedFileReadsAsMissingValuesAndIsKept) {
    SettingsKey key{store()};
    key.writeText(kSection, "ShowUpdate", "0");
    key.writeText(kSection, "CurrentVersion", "1.8");
    QByteArray bytes = readFileBounded(file(), kMaxRegFileBytes);
    bytes.replace("\"ShowUpdate\"=\"0\"", "\"ShowUpdate\"=\"0");
    QFile damaged(file());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(bytes);
    damaged.close();

    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 1), 1);
    EXPECT_EQ(storedText("CurrentVersion"), "1.8");
    key.writeText(kSection, "InstalledVersion", "1.7");
    EXPECT_EQ(readFileBounded(file() + ".damaged", kMaxRegFileBytes), bytes);
    EXPECT_EQ(store().load().damagedLines, 0);

    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("\x00\xff garbage", 10);
    damaged.close();
    EXPECT_EQ(key.readInteger(kSection, "ShowUpdate", 3), 3);
}

TEST(SettingsStore, DefaultFileFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(SettingsStore::defaultFile(), "/somewhere/config/QUARNEL/Tessaly/settings.reg");
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(SettingsStore::defaultFile(),
              QDir::homePath() + "/.config/QUARNEL/Tessaly/settings.reg");
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
