// tessaly-stamp run as a user runs it: failures among good files, usage
// errors, outputs that would replace inputs, folders, formats, interruption.

#include "StampFixtures.h"

#include <csignal>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

using namespace tessaly::test;

namespace {

class Batch : public StampFolder {
protected:
    Batch() : StampFolder(QSize(12, 9)) {}
};

bool isTemporaryName(const QString& name) {
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.tmp$"));
    return temporary.match(name).hasMatch();
}

// A BMP file whose length is that of its header's picture.
bool isWholeBmp(const QByteArray& bytes) {
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return false;
    const auto u32 = [&](int at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    const uint64_t rowSize = (uint64_t(u32(18)) * 3 + 3) / 4 * 4;
    return uint64_t(bytes.size()) == 54 + rowSize * u32(22) && u32(2) == uint32_t(bytes.size());
}

} // namespace

TEST_F(Batch, ReportsAFailingFileAndStampsTheOthers) {
    writePicture(path("one.png"), 40, 30, 4);
    writePicture(path("two.bmp"), 40, 30, 5);
    writePicture(path("small.gif"), 12, 30, 6);
    writeFile(path("broken.png"), "not a picture at all");
    writeFile(path("notes.webp"), "whatever");

    const StampRun run =
        stamp({"-d", "out", "one.png", "notes.webp", "broken.png", "small.gif", "two.bmp"});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.err.toStdString();
    EXPECT_TRUE(lines.contains("notes.webp: Unknown picture file extension (.webp)"));
    EXPECT_TRUE(lines.contains("small.gif: Watermark image dimensions must be smaller!"));
    EXPECT_EQ(lines.filter(QRegularExpression("^broken\\.png: .+")).size(), 1);
    EXPECT_EQ(filesIn(path("out")), QStringList({"one.png", "two.bmp"}));
    EXPECT_TRUE(isWholeBmp(readFile(path("out/two.bmp"))));
}

// A JPEG or opaque PNG is written to its BMP while it decodes; one that fails
// after some bands of its rows were written, or whose size is refused before
// its first rows, leaves the earlier result as it was and no temporary file.
TEST_F(Batch, APictureThatFailsWhileWrittenLeavesTheEarlierResult) {
    for (const char* name : {"whole.jpg", "whole.png"}) {
        writePicture(path(name), 3000, 400, 4); // many bands of rows
        const QByteArray whole = readFile(path(name));
        writeFile(path(QString::fromLatin1(name).replace("whole", "cut")),
                  whole.left(whole.size() / 2));
    }
    writePicture(path("tiny.jpg"), 12, 9, 5); // as large as the watermark
    struct Case {
        const char* input;
        const char* message;
    };
    for (const Case& c :
         {Case{"cut.jpg", "cut.jpg: JPEG error #"},
          Case{"cut.png", "cut.png: PNG image is not valid"},
          Case{"tiny.jpg", "tiny.jpg: Watermark image dimensions must be smaller!"}}) {
        writeFile(path("out.bmp"), "an earlier result");
        const StampRun run = stamp({"-o", "out.bmp", c.input});
        EXPECT_EQ(run.exitCode, 1) << c.input;
        EXPECT_TRUE(run.err.startsWith(c.message)) << run.err.toStdString();
        EXPECT_EQ(readFile(path("out.bmp")), "an earlier result") << c.input;
        EXPECT_TRUE(filesIn(dir_.path()).filter(QRegularExpression("\\.tmp$")).isEmpty())
            << filesIn(dir_.path()).join(' ').toStdString();
    }
    for (const char* name : {"whole.jpg", "whole.png"}) {
        ASSERT_EQ(stamp({"-o", "out.bmp", name}).exitCode, 0);
        EXPECT_TRUE(isWholeBmp(readFile(path("out.bmp"))));
    }
}

// In a folder that takes no new file, a photo's BMP result cannot be written
// while the photo decodes: the earlier result is overwritten only once the
// photo has decoded whole, so a photo that fails leaves it as it was.
TEST_F(Batch, AClosedFolderKeepsItsResultUntilThePictureIsWhole) {
    writePicture(path("whole.jpg"), 3000, 400, 4); // many bands of rows
    const QByteArray whole = readFile(path("whole.jpg"));
    writeFile(path("cut.jpg"), whole.left(whole.size() / 2));
    ASSERT_EQ(stamp({"-o", "open.bmp", "whole.jpg"}).exitCode, 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("closed"));
    writeFile(path("closed/out.bmp"), "an earlier result");
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    QFile::setPermissions(path("closed"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const StampRun probe = runUnprivileged(dir_.path(), "touch", {"closed/probe"});
    StampRun cut, good;
    QByteArray afterCut;
    if (probe.exitCode != 0) {
        cut = runStampUnprivileged(dir_.path(),
                                   {"-w", "logo.png", "-o", "closed/out.bmp", "cut.jpg"});
        afterCut = readFile(path("closed/out.bmp"));
        good = runStampUnprivileged(dir_.path(),
                                    {"-w", "logo.png", "-o", "closed/out.bmp", "whole.jpg"});
    }
    QFile::setPermissions(path("closed"), open);
    if (probe.exitCode == 0)
        GTEST_SKIP() << "no way here to keep a folder from taking a new file";
    EXPECT_EQ(cut.exitCode, 1) << cut.err.toStdString();
    EXPECT_EQ(afterCut, "an earlier result");
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
    EXPECT_EQ(readFile(path("closed/out.bmp")), readFile(path("open.bmp")));
    EXPECT_EQ(filesIn(path("closed")), QStringList{"out.bmp"});
}

TEST_F(Batch, UsageErrorsExitWithTwoAndAOneLineHint) {
    writePicture(path("a.png"), 40, 30, 4);
    writePicture(path("b.png"), 40, 30, 5);
    const QList<QStringList> cases = {
        {"-o", "x.bmp", "a.png", "b.png"}, // -o with two inputs
        {"-o", "x.bmp"},                   // nothing to stamp
        {"a.png"},                         // no output
        {"-o", "x.bmp", "-d", "out", "a.png"},
        {"-t", "251", "-o", "x.bmp", "a.png"},
        {"-t", "half", "-o", "x.bmp", "a.png"},
        {"--format", "gif", "-o", "x.bmp", "a.png"},
        {"--quality", "0", "-o", "x.jpg", "a.png"},
        {"-j", "0", "-d", "out", "a.png"},
        {"--sparkle", "-o", "x.bmp", "a.png"},
    };
    for (const QStringList& arguments : cases) {
        const StampRun run = stamp(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("tessaly-stamp: ")) << run.err.toStdString();
    }
    const StampRun noWatermark = runStamp(dir_.path(), {"-o", "x.bmp", "a.png"});
    EXPECT_EQ(noWatermark.exitCode, 2);
    EXPECT_EQ(filesIn(dir_.path()), QStringList({"a.png", "b.png", "logo.png"}));
}

TEST_F(Batch, NeverWritesOverAnInput) {
    writePicture(path("a.png"), 40, 30, 4);
    writePicture(path("b.bmp"), 40, 30, 5);
    const QByteArray before = readFile(path("a.png"));
    const StampRun same = stamp({"-o", "./a.png", "a.png"});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_TRUE(same.err.startsWith("a.png: Output \"./a.png\" is an input picture"))
        << same.err.toStdString();
    // In its own folder, a picture's result has its own name; b.bmp's result
    // under --format png would be a.png's name only for a.png itself.
    const StampRun folder = stamp({"-d", ".", "--format", "png", "a.png", "b.bmp"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(readFile(path("a.png")), before);
    EXPECT_TRUE(QFile::exists(path("b.png")));
    EXPECT_TRUE(stamp({"-o", "logo.bmp", "--format", "bmp", "logo.png"}).err.contains("smaller"));
}

TEST_F(Batch, WritesIntoAnExistingFolderAndReplacesEarlierResults) {
    writePicture(path("a.png"), 40, 30, 4);
    QDir().mkpath(path("out"));
    writeFile(path("out/keep.txt"), "mine");
    for (const char* alpha : {"0", "250"}) {
        const StampRun run = stamp({"-t", alpha, "-d", "out", "--format", "bmp", "a.png"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << "no progress line without a terminal";
    }
    EXPECT_EQ(filesIn(path("out")), QStringList({"a.bmp", "keep.txt"}));
    EXPECT_EQ(readFile(path("out/keep.txt")), "mine");
    EXPECT_TRUE(isWholeBmp(readFile(path("out/a.bmp"))));
}

TEST_F(Batch, ChoosesTheFormatByOptionAndExtension) {
    for (const char* name : {"p.png", "j.jpg", "g.gif", "t.TIF"})
        writePicture(path(name), 40, 30, 4);
    writeFile(path("t.TIF"), readFile(path("p.png"))); // replaced below by a real TIFF
    ASSERT_EQ(stamp({"-o", "t.TIF", "--format", "tiff", "p.png"}).exitCode, 0);
    struct Case {
        QStringList arguments;
        QString output;
        QByteArray signature;
    };
    const QByteArray png("\x89PNG"), jpeg("\xFF\xD8\xFF"), tiff("II*\0", 4), bmp("BM");
    const QList<Case> cases = {
        {{"-o", "o1.png", "j.jpg"}, "o1.png", png},
        {{"-o", "o2.JPEG", "p.png"}, "o2.JPEG", jpeg},
        {{"-o", "o3.tiff", "p.png"}, "o3.tiff", tiff},
        {{"-o", "o4.xyz", "p.png"}, "o4.xyz", bmp},
        {{"-o", "o5.png", "--format", "jpeg", "p.png"}, "o5.png", jpeg},
        {{"-d", "d1", "j.jpg"}, "d1/j.jpg", jpeg},
        {{"-d", "d1", "g.gif"}, "d1/g.bmp", bmp},
        {{"-d", "d1", "t.TIF"}, "d1/t.TIF", tiff},
        {{"-d", "d2", "--format", "png", "j.jpg"}, "d2/j.png", png},
        {{"-d", "d2", "--format", "jpg", "j.jpg"}, "d2/j.jpg", jpeg},
    };
    for (const Case& c : cases) {
        const StampRun run = stamp(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.arguments.join(' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(readFile(path(c.output)).startsWith(c.signature)) << c.output.toStdString();
    }
}

TEST_F(Batch, PrintsTheVersionFromItsOwnVersionBlock) {
    const StampRun run = runStamp(dir_.path(), {"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Tessaly 1.7\n");
    const StampRun help = runStamp(dir_.path(), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--watermark FILE"));
}

// A killed batch leaves whole results and at most the temporary files of the
// pictures it was writing; a stopped one (SIGTERM) leaves no temporary file.
TEST_F(Batch, AnInterruptedBatchLeavesOnlyWholeFiles) {
    QStringList inputs;
    for (int i = 0; i < 24; ++i) {
        inputs << QStringLiteral("p%1.bmp").arg(i);
        if (i < 2)
            writePicture(path(inputs.last()), 1600, 1200, 7);
        else
            QFile::copy(path("p0.bmp"), path(inputs.last()));
    }
    for (int sig : {SIGKILL, SIGTERM}) {
        const QString out = QStringLiteral("out%1").arg(sig);
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(TESSALY_STAMP_EXE),
                QStringList({"-w", "logo.png", "-j", "2", "-d", out}) + inputs);
        ASSERT_TRUE(p.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (filesIn(path(out)).filter(QRegularExpression("^p")).size() < 2 &&
               clock.elapsed() < 60000 && p.state() == QProcess::Running)
            QThread::msleep(5);
        ::kill(pid_t(p.processId()), sig);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QStringList files = filesIn(path(out));
        int temporaries = 0, finals = 0;
        for (const QString& name : files) {
            if (isTemporaryName(name))
                ++temporaries;
            else if (++finals; !isWholeBmp(readFile(path(out + "/" + name))))
                ADD_FAILURE() << "a partial file " << name.toStdString();
        }
        EXPECT_GE(finals, 2);
        EXPECT_LT(finals, inputs.size()) << "the batch ended before it was interrupted";
        EXPECT_LE(temporaries, sig == SIGKILL ? 2 : 0) << files.join(' ').toStdString();
        if (sig == SIGTERM)
            EXPECT_NE(p.exitCode(), 0);
    }
}
