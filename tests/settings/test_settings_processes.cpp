// Two running copies of the program share one settings file; neither may lose
// the other's values, and a copy killed while it writes must leave a file that
// reads back whole.
#include "settings/RegFile.h"
#include "settings/SettingsKey.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace tessaly;

namespace {

const QString kSectionPath = programKeyPath() + "\\" + settingsSection();

void startWriter(QProcess& process, const QString& file, const QString& prefix, int count,
                 int length) {
    process.start(SETTINGS_WRITER, {file, prefix, QString::number(count), QString::number(length)});
    ASSERT_TRUE(process.waitForStarted()) << process.errorString().toStdString();
}

// Every value the writer finished is whole: `length` copies of its digit.
void expectWholeValues(const RegDocument& document, const QString& prefix, int count, int length) {
    for (int i = 0; i < count; ++i) {
        const RegValue* value = document.findValue(kSectionPath, prefix + QString::number(i));
        ASSERT_NE(value, nullptr) << "lost " << (prefix + QString::number(i)).toStdString();
        EXPECT_EQ(textOf(*value), QString(length, QChar(u'0' + i % 10)));
    }
}

TEST(SettingsProcesses, TwoWritersAtOnceLoseNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.reg");
    constexpr int kCount = 60;
    QProcess a, b;
    startWriter(a, file, "A", kCount, 3);
    startWriter(b, file, "B", kCount, 3);
    ASSERT_TRUE(a.waitForFinished(20000) && b.waitForFinished(20000));
    ASSERT_EQ(a.exitCode(), 0) << a.readAllStandardError().constData();
    ASSERT_EQ(b.exitCode(), 0) << b.readAllStandardError().constData();

    const RegDocument document = SettingsStore(file).load();
    EXPECT_EQ(document.damagedLines, 0);
    expectWholeValues(document, "A", kCount, 3);
    expectWholeValues(document, "B", kCount, 3);
}

TEST(SettingsProcesses, WriterKilledMidWriteLeavesWholeFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.reg");
    // Large values make each replace long enough to be cut in the middle.
    constexpr int kLength = 200000;
    QProcess writer;
    startWriter(writer, file, "V", 1000, kLength);
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(file).size() < 3 * kLength && clock.elapsed() < 10000)
        QThread::msleep(5);
    QThread::msleep(37);
    writer.kill();
    writer.waitForFinished();
    ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer finished before the kill";

    const RegDocument document = SettingsStore(file).load();
    EXPECT_EQ(document.damagedLines, 0);
    const RegKey* key = document.findKey(kSectionPath);
    ASSERT_NE(key, nullptr);
    const int written = int(key->values.size());
    EXPECT_GE(written, 2);
    expectWholeValues(document, "V", written, kLength);

    // The next copy of the program writes on over whatever the killed one left.
    SettingsKey next{SettingsStore(file)};
    next.writeInteger("Settings", "ShowUpdate", 0);
    EXPECT_EQ(next.readInteger("Settings", "ShowUpdate", 1), 0);
    EXPECT_EQ(SettingsStore(file).load().findKey(kSectionPath)->values.size(), written + 1);
}

} // namespace
