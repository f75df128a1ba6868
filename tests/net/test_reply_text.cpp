#include "net/ExtractTag.h"
#include "net/ReplyLines.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

TEST(ReplyLines, CutsAtEveryKindOfBreak) {
    const struct {
        QString reply;
        QStringList lines;
    } cases[] = {
        {"A\r\nB\n\nC\r", {"A", "B", "", "C"}},
        {"", {}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},
        {"\r\r\n", {"", ""}},
        {"one", {"one"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\rb\r\n\r\nc\n", {"a", "b", "", "c"}},
        {"end\n\n", {"end", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replyLines(c.reply), c.lines) << c.reply.toStdString();
}

TEST(ExtractTag, TakesTheWholeLineOrNothing) {
    const struct {
        const char* line;
        const char* tag;
        const char* value;
    } cases[] = {
        {"<version>2.1</version>", "version", "2.1"},
        {"<version>2.1</version>", "VERSION", "2.1"},
        {"<Version>2.1</Version>", "version", ""},
        {" <version>2.1</version>", "version", ""},
        {"<version>2.1</version> ", "version", ""},
        {"<version></version>", "version", ""},
        {"<a>1</a><b>2</b>", "a", ""},
        {"<a>1</a>2</a>", "a", "1</a>2"},
        {"<url>https://x.example/?a=<b></url>", "url", "https://x.example/?a=<b>"},
        {"<result>0</result>", "result", "0"},
        {"<result>0</result>", "", ""},
        {"", "result", ""},
        {"<result>0", "result", ""},
        {"<résult>1</résult>", "RÉSULT", ""}, // only A to Z are lowered
        {"<résult>1</résult>", "réSULT", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractTag(QString::fromUtf8(c.line), QString::fromUtf8(c.tag)),
                  QString::fromUtf8(c.value))
            << c.line << " / " << c.tag;
}

} // namespace
