// The command line read into options, and the output name and format that
// each picture gets.

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

} // namespace

TEST(StampOptions, ReadsEveryOptionInShortAndLongForm) {
    const StampOptions s = parse({"-w", "logo.gif", "-t", "200", "-d", "out", "--format", "PNG",
                                  "--quality", "80", "-j", "3", "-q", "a.jpg", "b.jpg"});
    EXPECT_EQ(s.watermark, "logo.gif");
    EXPECT_EQ(s.transparency, 200);
    EXPECT_EQ(s.outputDir, "out");
    EXPECT_EQ(s.format, OutputFormat::Png);
    EXPECT_EQ(s.quality, 80);
    EXPECT_EQ(s.jobs, 3);
    EXPECT_TRUE(s.quiet);
    EXPECT_EQ(s.inputs, QStringList({"a.jpg", "b.jpg"}));

    const StampOptions l = parse({"--watermark=logo.png", "--transparency", "0", "--output",
                                  "x.bmp", "--jobs=1", "--quiet", "--", "-odd.png"});
    EXPECT_EQ(l.watermark, "logo.png");
    EXPECT_EQ(l.transparency, 0);
    EXPECT_EQ(l.output, "x.bmp");
    EXPECT_EQ(l.inputs, QStringList({"-odd.png"}));

    const StampOptions d = parse({"-w", "l.png", "-o", "x.bmp", "a.png"});
    EXPECT_EQ(d.transparency, 125);
    EXPECT_EQ(d.quality, 92);
    EXPECT_EQ(d.jobs, 0);
    EXPECT_FALSE(d.format.has_value());
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
        const std::vector<StampJob> jobs = planStampJobs(o);
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(jobs[0].output, out + "/" + c.output) << c.input.toStdString();
        EXPECT_EQ(jobs[0].format, c.expected) << c.input.toStdString();
        EXPECT_TRUE(jobs[0].refusal.isEmpty());
    }
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
    const std::vector<StampJob> jobs = planStampJobs(o);
    EXPECT_TRUE(jobs[0].refusal.isEmpty());
    EXPECT_TRUE(jobs[1].refusal.contains("is already the result of"))
        << jobs[1].refusal.toStdString();
    EXPECT_TRUE(jobs[2].refusal.contains("is an input picture")) << jobs[2].refusal.toStdString();

    StampOptions single;
    single.output = dir.filePath("b/../a/x.jpg");
    single.inputs = {dir.filePath("a/x.jpg")};
    EXPECT_FALSE(planStampJobs(single)[0].refusal.isEmpty());
    EXPECT_EQ(planStampJobs(single)[0].format, OutputFormat::Jpeg);
    ASSERT_TRUE(QFile::link(dir.filePath("a/x.jpg"), dir.filePath("b/link.jpg")));
    single.output = dir.filePath("b/link.jpg"); // the same file under another name
    EXPECT_FALSE(planStampJobs(single)[0].refusal.isEmpty());
    single.output = dir.filePath("a/y.png"); // the watermark is an input too
    single.watermark = dir.filePath("a/y.png");
    EXPECT_TRUE(planStampJobs(single)[0].refusal.contains("is an input picture"));
}
