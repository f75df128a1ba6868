// Pictures named by another program: lists of lines or of zero-ended names,
// from a file or standard input; a dry run that writes nothing; and the
// README's GNU parallel recipes run on this machine alone (-S :).

#include "compositing/MetafileBuilder.h"
#include "StampFixtures.h"

#include <gtest/gtest.h>

using namespace tessaly::test;

namespace {

class Lists : public StampFolder {
protected:
    Lists() : StampFolder(QSize(6, 5)) {}
    void SetUp() override {
        StampFolder::SetUp();
        writePictures({"shoot/a.jpg", "shoot/with space.png", "shoot/day1/b.bmp"}, 24, 18);
    }
};

} // namespace

TEST_F(Lists, StampsThePicturesAListNames) {
    writeFile(path("list.txt"), "shoot/a.jpg\n\nshoot/with space.png\n");
    struct Case {
        QStringList arguments;
        QByteArray input;
        QStringList expected;
    };
    const QList<Case> cases = {
        {{"--files-from", "list.txt"}, {}, {"a.jpg", "with space.png"}},
        {{"-0", "--files-from", "-"},
         QByteArray("shoot/day1/b.bmp\0shoot/a.jpg\0", 29),
         {"a.jpg", "b.bmp"}},
        {{"--files-from", "-", "shoot/day1/b.bmp"},
         "shoot/with space.png",
         {"b.bmp", "with space.png"}},
    };
    for (const Case& c : cases) {
        QDir(path("out")).removeRecursively();
        const StampRun run = stamp(QStringList{"-d", "out"} + c.arguments, c.input);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(tree("out"), c.expected) << c.arguments.join(' ').toStdString();
    }
    const StampRun missing = stamp({"-d", "out", "--files-from", "missing.txt"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith("tessaly-stamp: Cannot open file \"missing.txt\"."))
        << missing.err.toStdString();
    const StampRun two = stamp({"-o", "x.png", "--files-from", "list.txt"});
    EXPECT_EQ(two.exitCode, 2) << "-o takes one picture, however it is named";
}

// A metafile draws its text through the fonts of a GUI application, which
// the program makes only when a picture may need it: a metafile named in a
// list must find it there as well as one named on the command line.
TEST_F(Lists, AMetafileWithTextIsStampedHoweverItIsNamed) {
    WmfBuilder wmf(QRect(0, 0, 120, 100), 96);
    Params font;
    font.words({-24, 0, 0, 0, 400}).u8(0).u8(0).u8(0).u8(0).u32(0);
    font.bytes(QByteArray("DejaVu Sans")).u8(0).pad(2);
    const QByteArray text("Hi");
    wmf.record(0x02FB, font).record(0x012D, Params().u16(0)); // the font, selected
    wmf.record(0x0521, Params().u16(uint16_t(text.size())).bytes(text).pad(2).words({10, 10}));
    writeFile(path("shoot/sign.wmf"), wmf.finish());
    writeFile(path("list.txt"), "shoot/sign.wmf\n");
    for (const QStringList& named :
         {QStringList{"--files-from", "list.txt"}, QStringList{"shoot/sign.wmf"}}) {
        QDir(path("out")).removeRecursively();
        const StampRun run = stamp(QStringList{"-d", "out"} + named);
        EXPECT_EQ(run.exitCode, 0)
            << named.join(' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(tree("out"), QStringList{"sign.bmp"}) << named.join(' ').toStdString();
    }
}

TEST_F(Lists, ADryRunPrintsThePlanAndWritesNothing) {
    const StampRun run = stamp({"-n", "-r", "-d", "out", "--name", "{parent}-{n}.{ext}", "shoot"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "shoot/a.jpg -> out/shoot-1.jpg\n"
                       "shoot/day1/b.bmp -> out/day1/day1-2.bmp\n"
                       "shoot/with space.png -> out/shoot-3.png\n");
    EXPECT_FALSE(QFileInfo::exists(path("out")));

    const StampRun refused = stamp({"--dry-run", "-d", "shoot", "shoot/a.jpg"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(refused.err.startsWith("shoot/a.jpg: Output ")) << refused.err.toStdString();

    QDir(dir_.path()).mkpath("out");
    writeFile(path("out/a.jpg"), "an earlier result");
    const StampRun skip = stamp({"--dry-run", "-d", "out", "--existing", "skip", "shoot/a.jpg"});
    EXPECT_EQ(skip.exitCode, 0);
    EXPECT_TRUE(skip.out.isEmpty());
    EXPECT_TRUE(skip.err.contains("1 picture skipped")) << skip.err.toStdString();
    EXPECT_EQ(readFile(path("out/a.jpg")), "an earlier result");
}

// The recipes of the README, with -S : for the hosts: over shared storage,
// keeping the list's folders; and with the files sent to each host and the
// results brought back.
TEST_F(Lists, RunsUnderGnuParallel) {
    writeFile(path("list.txt"), "shoot/a.jpg\nshoot/day1/b.bmp\n");
    const QString stamp = QStringLiteral(TESSALY_STAMP_EXE);
    const QList<QStringList> recipes = {
        {"--will-cite", "-S", ":", stamp, "-q", "-w", "logo.png", "-d", "out/{//}", "{}",
         "::::", "list.txt"},
        {"--will-cite", "-S", ":", "--basefile", "logo.png", "--transferfile", "{}", "--return",
         "out/{/}", "--cleanup", stamp, "-q", "-w", "logo.png", "-d", "out", "{}",
         "::::", "list.txt"},
    };
    const QList<QStringList> expected = {{"shoot/a.jpg", "shoot/day1/b.bmp"}, {"a.jpg", "b.bmp"}};
    for (int i = 0; i < recipes.size(); ++i) {
        QDir(path("out")).removeRecursively();
        const StampRun run = runProgram(dir_.path(), QStringLiteral("parallel"), recipes[i]);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(tree("out"), expected[i]);
        EXPECT_TRUE(QFile::exists(path("shoot/a.jpg"))) << "the inputs stay";
    }
}
