// Folder trees: -r walks them and -d mirrors them, past loops of links and
// folders it cannot read; --existing decides about results already there,
// and no choice ever writes over an input.

#include "StampFixtures.h"

#include <gtest/gtest.h>

using namespace tessaly::test;

namespace {

class Tree : public StampFolder {
protected:
    Tree() : StampFolder(QSize(6, 5)) {}
    void SetUp() override {
        StampFolder::SetUp();
        writePictures({"shoot/a.jpg", "shoot/a.png", "shoot/day1/b.png", "shoot/day1/deep/c.gif",
                       "shoot/locked/d.bmp", "elsewhere/e.jpg"},
                      24, 18);
        writeFile(path("shoot/notes.txt"), "not a picture");
        ASSERT_TRUE(QFile::link(".", path("shoot/day1/loop")));
        ASSERT_TRUE(QFile::link("../elsewhere", path("shoot/linked")));
        QFile::setPermissions(path("shoot/locked"), {});
        // The program may run as another user than the tests' own.
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOther | QFileDevice::WriteOther |
                                               QFileDevice::ExeOther | QFileDevice::ReadOwner |
                                               QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void TearDown() override {
        QFile::setPermissions(path("shoot/locked"), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
    }
    StampRun stampUnprivileged(const QStringList& arguments) const {
        return runStampUnprivileged(dir_.path(), QStringList{"-w", "logo.png"} + arguments);
    }
};

} // namespace

TEST_F(Tree, MirrorsTheFoldersAndReportsWhatItCannotWalk) {
    if (runUnprivileged(dir_.path(), "ls", {"shoot/locked"}).exitCode == 0)
        GTEST_SKIP() << "no way here to keep a folder from being read";
    struct Case {
        QStringList extra;
        QStringList expected;
    };
    const QList<Case> cases = {
        {{}, {"a.png", "day1/b.png", "day1/deep/c.png"}},
        {{"--follow-links"}, {"a.png", "day1/b.png", "day1/deep/c.png", "linked/e.png"}},
    };
    for (const Case& c : cases) {
        QDir(path("out")).removeRecursively();
        const StampRun run =
            stampUnprivileged(QStringList{"-r", "-d", "out", "--format", "png", "shoot"} + c.extra);
        EXPECT_EQ(run.exitCode, 1);
        const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), 2) << run.err.toStdString();
        EXPECT_TRUE(
            lines.contains("shoot/locked: Cannot open folder \"shoot/locked\". Access is denied."))
            << run.err.toStdString();
        EXPECT_TRUE(lines.contains(
            "shoot/a.png: Output \"out/a.png\" is already the result of \"shoot/a.jpg\""));
        EXPECT_EQ(tree("out"), c.expected) << c.extra.join(' ').toStdString();
    }
}

TEST_F(Tree, LeavesItsOwnResultsOutOfTheWalk) {
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(stamp({"-r", "-d", "shoot/day1/stamped", "shoot/day1"}).exitCode, 0);
    EXPECT_EQ(tree("shoot/day1/stamped"), QStringList({"b.png", "deep/c.bmp"}));
}

TEST_F(Tree, DecidesAboutExistingResultsAndNeverWritesOverAnInput) {
    struct Case {
        const char* existing;
        int exitCode;
        bool replaced;
        QString message;
    };
    const QList<Case> cases = {
        {"replace", 0, true, ""},
        {"skip", 0, false,
         "shoot/day1/b.png: skipped, \"out/b.png\" exists already\n"
         "tessaly-stamp: 1 picture skipped, their results exist already\n"},
        {"fail", 1, false, "shoot/day1/b.png: Output \"out/b.png\" exists already\n"},
    };
    for (const Case& c : cases) {
        QDir(path("out")).removeRecursively();
        QDir(dir_.path()).mkpath("out");
        writeFile(path("out/b.png"), "an earlier result");
        const StampRun run = stamp({"-r", "-d", "out", "--existing", c.existing, "shoot/day1"});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.existing;
        EXPECT_EQ(run.err, c.message) << c.existing;
        EXPECT_EQ(readFile(path("out/b.png")) != "an earlier result", c.replaced) << c.existing;
        EXPECT_TRUE(QFile::exists(path("out/deep/c.bmp"))) << c.existing << ": the batch goes on";

        const QByteArray input = readFile(path("shoot/day1/b.png"));
        const StampRun inPlace = stamp(
            {"-r", "-d", "shoot/day1", "--format", "png", "--existing", c.existing, "shoot/day1"});
        EXPECT_EQ(inPlace.exitCode, 1) << c.existing;
        EXPECT_EQ(inPlace.err, "shoot/day1/b.png: Output \"shoot/day1/b.png\" is an input picture "
                               "and is never overwritten\n")
            << c.existing;
        EXPECT_EQ(readFile(path("shoot/day1/b.png")), input) << c.existing;
        QFile::remove(path("shoot/day1/deep/c.png")); // the GIF's result beside it
    }
}
