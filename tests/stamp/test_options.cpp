// The command line read into options, and the output name and format that
// each picture gets.

#include "stamp/NamePattern.h"
#include "stamp/OutputPlan.h"
#include "stamp/StampOptions.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

StampOptions parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("tessaly-stamp"));
    return parseStampOptions(arguments);
}

std::vector<StampJob> plan(const StampOptions& o) {
    std::vector<FoundPicture> pictures;
    for (const QString& input : o.inputs)
        pictures.push_back({input, {}});
    return planStampJobs(o, pictures);
}

} // namespace

TEST(StampOptions, ReadsEveryOptionInShortAndLongForm) {
    const StampOptions s = parse(
        {"-w", "logo.gif", "-t", "200", "-d", "out", "--format",     "PNG", "--quality", "80",
         "-j", "3",        "-q", "-r",  "-n", "-0",  "--files-from", "-",   "a.jpg",     "b.jpg"});
    EXPECT_EQ(s.watermark, "logo.gif");
    EXPECT_EQ(s.transparency, 200);
    EXPECT_EQ(s.outputDir, "out");
    EXPECT_EQ(s.format, OutputFormat::Png);
    EXPECT_EQ(s.jpeg.quality, 80);
    EXPECT_EQ(s.jobs, 3);
    EXPECT_TRUE(s.quiet);
    EXPECT_TRUE(s.recursive);
    EXPECT_TRUE(s.dryRun);
    EXPECT_TRUE(s.nulSeparated);
    EXPECT_EQ(s.filesFrom, "-");
    EXPECT_EQ(s.inputs, QStringList({"a.jpg", "b.jpg"}));

    const StampOptions l = parse({"--watermark=logo.png",
                                  "--transparency",
                                  "0",
                                  "--output-dir",
                                  "out",
                                  "--jobs=1",
                                  "--quiet",
                                  "--recursive",
                                  "--follow-links",
                                  "--name",
                                  "{n}-{stem}.{ext}",
                                  "--existing",
                                  "SKIP",
                                  "--dry-run",
                                  "--strip",
                                  "--sampling",
                                  "444",
                                  "--null",
                                  "--files-from=list",
                                  "--",
                                  "-odd.png"});
    EXPECT_EQ(l.watermark, "logo.png");
    EXPECT_EQ(l.transparency, 0);
    EXPECT_EQ(l.outputDir, "out");
    EXPECT_TRUE(l.recursive && l.followLinks && l.dryRun && l.strip && l.nulSeparated);
    EXPECT_EQ(l.namePattern, "{n}-{stem}.{ext}");
    EXPECT_EQ(l.existing, ExistingOutput::Skip);
    EXPECT_EQ(l.jpeg.sampling, ChromaSampling::Full444);
    EXPECT_EQ(l.filesFrom, "list");
    EXPECT_EQ(l.inputs, QStringList({"-odd.png"}));

    const StampOptions d = parse({"-w", "l.png", "-o", "x.bmp", "a.png"});
    EXPECT_EQ(d.transparency, 125);
    EXPECT_EQ(d.jpeg.quality, 92);
    EXPECT_EQ(d.jpeg.sampling, ChromaSampling::Quarter420);
    EXPECT_EQ(d.existing, ExistingOutput::Replace);
    EXPECT_FALSE(d.namePattern.has_value());
    EXPECT_FALSE(d.recursive || d.followLinks || d.dryRun || d.strip);
    EXPECT_EQ(d.jobs, 0);
    EXPECT_FALSE(d.format.has_value());
    EXPECT_TRUE(parse({"-w", "l.png", "--files-from", "list", "-d", "out"}).inputs.isEmpty());
    EXPECT_TRUE(parse({"--version"}).version);
    EXPECT_TRUE(parse({"--help", "-t", "999"}).help);
}

TEST(StampOptions, NamesTheProblemOfAWrongCommandLine) {
    const QList<QPair<QStringList, QString>> cases = {
        {{"-o", "x.bmp", "a.png"}, "a watermark is required (-w FILE)"},
        {{"-w", "l.png", "-o", "x.bmp"}, "no pictures to stamp"},
        {{"-w", "l.png", "a.png"}, "an output is required (-o FILE or -d DIR)"},
        {{"-w", "l.png", "-o", "x", "-d", "y", "a.png"}, "-o and -d cannot be used together"},
        {{"-w", "l.png", "-o", "x", "a.png", "b.png"},
         "-o takes one input picture, not 2; use -d DIR for more"},
        {{"-w", "l.png", "-t", "-1", "-o", "x", "a.png"},
         "--transparency takes a whole number from 0 to 250, not \"-1\""},
        {{"-w", "l.png", "-j", "65", "-o", "x", "a.png"},
         "--jobs takes a whole number from 1 to 64, not \"65\""},
        {{"-w", "l.png", "--format", "webp", "-o", "x", "a.png"},
         "--format takes bmp, png, jpeg or tiff, not \"webp\""},
        {{"-w", "l.png", "--existing", "keep", "-d", "x", "a.png"},
         "--existing takes replace, skip or fail, not \"keep\""},
        {{"-w", "l.png", "--sampling", "411", "-o", "x", "a.png"},
         "--sampling takes 444, 422 or 420, not \"411\""},
        {{"-w", "l.png", "-0", "-d", "x", "a.png"}, "-0 goes with --files-from FILE"},
        {{"-w", "l.png", "--name", "{n}", "-o", "x", "a.png"},
         "--name names the results in -d DIR; -o names its own"},
        {{"-w", "l.png", "--name", "{date}.{ext}", "-d", "x", "a.png"},
         "--name knows {stem}, {ext}, {n} and {parent}, not \"{date}\""},
        {{"-w", "l.png", "--name", "{stem", "-d", "x", "a.png"},
         "--name knows {stem}, {ext}, {n} and {parent}, not \"{stem\""},
        {{"-w", "l.png", "--name", "a}", "-d", "x", "a.png"},
         "--name has a \"}\" without its \"{\""},
        {{"-w", "l.png", "--name", "{parent}/{stem}", "-d", "x", "a.png"},
         "--name makes a file name, without \"/\"; -r and -d make the folders"},
        {{"-w", "l.png", "--name", "", "-d", "x", "a.png"},
         "--name needs a pattern, such as \"{stem}.{ext}\""},
    };
    for (const auto& [arguments, message] : cases) {
        try {
            parse(arguments);
            ADD_FAILURE() << "accepted: " << arguments.join(' ').toStdString();
        } catch (const UsageError& e) {
            EXPECT_EQ(e.message(), message);
        }
    }
    EXPECT_THROW(parse({"-w"}), UsageError);
    EXPECT_THROW(parse({"--unknown"}), UsageError);
}

TEST(OutputPlan, NamesEachResultAfterItsPicture) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    struct Case {
        QString input;
        std::optional<OutputFormat> format;
        QString output;
        OutputFormat expected;
    };
    const QList<Case> cases = {
        {"shoot/a.jpg", {}, "a.jpg", OutputFormat::Jpeg},
        {"b.JPEG", {}, "b.JPEG", OutputFormat::Jpeg},
        {"c.tif", {}, "c.tif", OutputFormat::Tiff},
        {"d.gif", {}, "d.bmp", OutputFormat::Bmp},
        {"e.wmf", {}, "e.bmp", OutputFormat::Bmp},
        {"f.jpg", OutputFormat::Png, "f.png", OutputFormat::Png},
        {"g.jpeg", OutputFormat::Jpeg, "g.jpeg", OutputFormat::Jpeg},
        {"h.png", OutputFormat::Tiff, "h.tif", OutputFormat::Tiff},
        {"my.photo.png", {}, "my.photo.png", OutputFormat::Png},
        {"noextension", {}, "noextension.bmp", OutputFormat::Bmp},
    };
    for (const Case& c : cases) {
        StampOptions o;
        o.outputDir = out;
        o.format = c.format;
        o.inputs = {dir.filePath(c.input)};
        const std::vector<StampJob> jobs = plan(o);
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(jobs[0].output, out + "/" + c.output) << c.input.toStdString();
        EXPECT_EQ(jobs[0].format, c.expected) << c.input.toStdString();
        EXPECT_TRUE(jobs[0].refusal.isEmpty());
    }
}

TEST(OutputPlan, FillsTheNamePatternAndMirrorsSubfolders) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    struct Case {
        const char* pattern;
        std::optional<OutputFormat> format;
        QString expected; // for shoot/day1/IMG.JPG, the 12th picture of 120
    };
    const QList<Case> cases = {
        {"{stem}.{ext}", {}, "IMG.JPG"},
        {"{stem}.{ext}", OutputFormat::Png, "IMG.png"},
        {"{parent}-{n}.{ext}", OutputFormat::Tiff, "day1-012.tif"},
        {"{n}{n}_{stem}", {}, "012012_IMG"},
        {"stamped", {}, "stamped"},
    };
    for (const Case& c : cases) {
        StampOptions o;
        o.outputDir = out;
        o.format = c.format;
        o.namePattern = QString::fromLatin1(c.pattern);
        std::vector<FoundPicture> pictures(120, {dir.filePath("other.png"), {}});
        pictures[11] = {dir.filePath("shoot/day1/IMG.JPG"), "day1"};
        const StampJob job = planStampJobs(o, pictures)[11];
        EXPECT_EQ(job.output, out + "/day1/" + c.expected) << c.pattern;
    }
    EXPECT_EQ(expandNamePattern("{stem}", {"", "", "", 1, 1}), "");
    StampOptions o;
    o.outputDir = out;
    o.namePattern = "{stem}";
    EXPECT_TRUE(planStampJobs(o, {{dir.filePath(".png"), {}}})[0].refusal.contains("no file name"));
}

TEST(OutputPlan, RefusesOutputsThatAreInputsOrTakenTwice) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("a");
    QDir(dir.path()).mkpath("b");
    for (const char* name : {"a/x.jpg", "b/x.jpg", "a/y.png"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    StampOptions o;
    o.outputDir = dir.filePath("a");
    o.format = OutputFormat::Png;
    o.inputs = {dir.filePath("a/x.jpg"), dir.filePath("b/x.jpg"), dir.filePath("a/../a/y.png")};
    const std::vector<StampJob> jobs = plan(o);
    EXPECT_TRUE(jobs[0].refusal.isEmpty());
    EXPECT_TRUE(jobs[1].refusal.contains("is already the result of"))
        << jobs[1].refusal.toStdString();
    EXPECT_TRUE(jobs[2].refusal.contains("is an input picture")) << jobs[2].refusal.toStdString();

    StampOptions single;
    single.output = dir.filePath("b/../a/x.jpg");
    single.inputs = {dir.filePath("a/x.jpg")};
    EXPECT_FALSE(plan(single)[0].refusal.isEmpty());
    EXPECT_EQ(plan(single)[0].format, OutputFormat::Jpeg);
    ASSERT_TRUE(QFile::link(dir.filePath("a/x.jpg"), dir.filePath("b/link.jpg")));
    single.output = dir.filePath("b/link.jpg"); // the same file under another name
    EXPECT_FALSE(plan(single)[0].refusal.isEmpty());
    single.output = dir.filePath("a/y.png"); // the watermark is an input too
    single.watermark = dir.filePath("a/y.png");
    EXPECT_TRUE(plan(single)[0].refusal.contains("is an input picture"));
}
