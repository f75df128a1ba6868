#include "settings/RegFile.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\QUARNEL\\Tessaly\\Settings");

QByteArray file(const char* body) {
    return QByteArray("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\QUARNEL\\Tessaly\\Settings]\n") +
           body;
}

struct LineCase {
    const char* name;
    const char* line;
    RegValue expected; // type RegNone: the line must be counted as damaged
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class RegFileLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(RegFileLine, ReadsOneValueLine) {
    const LineCase& c = GetParam();
    const RegDocument document = parseRegFile(file(c.line));
    ASSERT_NE(document.findKey(kKey), nullptr);
    const auto& values = document.findKey(kKey)->values;
    if (c.expected.type == RegNone) {
        EXPECT_EQ(document.damagedLines, 1);
        EXPECT_TRUE(values.isEmpty());
        return;
    }
    EXPECT_EQ(document.damagedLines, 0);
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(values[0].name, c.expected.name);
    EXPECT_EQ(values[0].type, c.expected.type);
    EXPECT_EQ(values[0].data.toHex(), c.expected.data.toHex());
}

const RegValue kDamaged{};

INSTANTIATE_TEST_SUITE_P(
    Lines, RegFileLine,
    ::testing::Values(
        LineCase{"String", R"("ShowUpdate"="1")", stringValue("ShowUpdate", "1")},
        LineCase{"Escapes", R"("a\"b"="c:\\d\"e")", stringValue("a\"b", "c:\\d\"e")},
        LineCase{"Unicode", "\"n\"=\"\xC3\xA9\xE2\x82\xAC\"",
                 stringValue("n", QStringLiteral("\u00E9\u20AC"))},
        LineCase{"Default", R"(@="x")", stringValue("", "x")},
        LineCase{"Dword", R"("d"=dword:0000002a)", dwordValue("d", 42)},
        LineCase{"ShortDword", R"("d"=dword:ff)", dwordValue("d", 255)},
        LineCase{"Binary", R"("b"=hex:01,ff,0a)", RegValue{"b", RegBinary, "\x01\xff\x0a"}},
        LineCase{"EmptyBinary", R"("b"=hex:)", RegValue{"b", RegBinary, ""}},
        LineCase{"Expand", R"("e"=hex(2):41,00,00,00)", RegValue{"e", RegExpandSz, {"A\0\0\0", 4}}},
        LineCase{"Continued", "\"b\"=hex:01,\\\n  02,\\\n  03",
                 RegValue{"b", RegBinary, "\x01\x02\x03"}},
        LineCase{"Unclosed", R"("a"="b)", kDamaged}, LineCase{"Trailing", R"("a"="b"x)", kDamaged},
        LineCase{"NoEquals", R"("a")", kDamaged},
        LineCase{"LongDword", R"("d"=dword:123456789)", kDamaged},
        LineCase{"SignedDword", R"("d"=dword:-1)", kDamaged},
        LineCase{"BadByte", R"("b"=hex:01,1ff)", kDamaged},
        LineCase{"BadType", R"("b"=hex(zz):01)", kDamaged},
        LineCase{"Delete", R"("a"=-)", kDamaged}, LineCase{"Garbage", "\x01\x02\xff", kDamaged}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegFile, DamageOutsideValueLines) {
    // No header: nothing is read.
    EXPECT_TRUE(parseRegFile("[HKEY_CURRENT_USER\\A]\n\"a\"=\"1\"\n").keys.isEmpty());
    // A value before any key, a deletion of a key.
    const RegDocument document = parseRegFile("REGEDIT4\n\"a\"=\"1\"\n[-HKEY_CURRENT_USER\\A]\n"
                                              "[HKEY_CURRENT_USER\\B]\n\"b\"=\"2\"\n");
    EXPECT_EQ(document.damagedLines, 2);
    ASSERT_EQ(document.keys.size(), 1);
    EXPECT_EQ(textOf(*document.findValue("hkey_current_user\\b", "B")), "2");
    // Over the size limit: not read at all.
    QByteArray huge = file("\"a\"=\"1\"\n");
    huge.append(kMaxRegFileBytes, ' ');
    EXPECT_TRUE(parseRegFile(huge).keys.isEmpty());
}

TEST(RegFile, ReadsUtf16WithByteOrderMark) {
    const QString text =
        "Windows Registry Editor Version 5.00\r\n\r\n[" + kKey + "]\r\n\"a\"=\"\u00E9\"\r\n";
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const RegDocument document = parseRegFile(bytes);
    const RegValue* value = document.findValue(kKey, "a");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(textOf(*value), QStringLiteral("\u00E9"));
}

TEST(RegFile, WritesWhatItReadsBack) {
    RegDocument document;
    document.ensureKey("HKEY_CURRENT_USER\\Software\\QUARNEL\\Tessaly");
    document.setValue(kKey, stringValue("Plain", "a \"quoted\" c:\\path"));
    document.setValue(kKey, stringValue("Lines", "one\r\ntwo"));
    document.setValue(kKey, stringValue("", "default"));
    document.setValue(kKey, dwordValue("Number", 0xDEADBEEF));
    document.setValue(kKey, RegValue{"Long", RegBinary, QByteArray(100, '\x7f')});
    document.setValue(kKey, RegValue{"Odd", RegSz, QByteArray("A\0B", 3)});
    document.setValue(kKey, RegValue{"Seven", 7, QByteArray("x\0\0\0", 4)});

    const QByteArray text = writeRegFile(document);
    const RegDocument back = parseRegFile(text);
    EXPECT_EQ(back.damagedLines, 0);
    EXPECT_EQ(back.keys, document.keys);
    EXPECT_TRUE(text.contains("\"Plain\"=\"a \\\"quoted\\\" c:\\\\path\"\n"));
    EXPECT_TRUE(text.contains("\"Number\"=dword:deadbeef\n"));
    EXPECT_TRUE(text.contains("\"Lines\"=hex(1):")); // line breaks cannot go between quotes
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 80) << line.constData();
}

QByteArray utf16File(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    return bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// Lines of `line` (its "#" numbered), filling the file up to just below the
// size limit.
QByteArray filledFile(const QByteArray& line) {
    QByteArray bytes = file("");
    for (int i = 0; bytes.size() + line.size() + 10 < kMaxRegFileBytes; ++i)
        bytes += QByteArray(line).replace("#", QByteArray::number(i)) + '\n';
    return bytes;
}

// A file that reads is written back whole and within the size that is read:
// else a rewrite would change what it read, or no setting could ever be
// changed again ("would grow too large").
TEST(RegFile, WhatReadsIsWrittenBackWithinTheLimit) {
    const QChar lone(0xD800);
    const struct {
        const char* name;
        QByteArray bytes;
        bool reads; // false: reads as a file over the size limit
    } cases[] = {
        {"LoneSurrogateInKeyPath",
         utf16File("Windows Registry Editor Version 5.00\r\n[" + kKey + lone +
                   "]\r\n\"a\"=\"1\"\r\n"),
         true},
        {"LoneSurrogateInValueName",
         utf16File("REGEDIT4\r\n[" + kKey + "]\r\n\"a" + lone + "\"=\"" + lone + "\"\r\n"), true},
        // A byte order mark is no part of the file's start here: it stays in the
        // path, which must not come back as a deletion ("[-...").
        {"ByteOrderMarkOpeningKeyPath", file("\"a\"=\"1\"\n[\xEF\xBB\xBF-HKEY_CURRENT_USER\\X]\n"),
         true},
        {"TabsInStrings", filledFile("\"v#\"=\"" + QByteArray(400, '\t') + '"'), true},
        // Each byte as one digit: the writer's two digits make the file half as large again.
        {"ShortBytesThatWouldGrow",
         filledFile("\"b#\"=hex:" + QByteArray("0,").repeated(20000) + '0'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RegDocument first = parseRegFile(c.bytes);
        EXPECT_EQ(first.keys.isEmpty(), !c.reads);
        EXPECT_EQ(first.damagedLines, c.reads ? 0 : 1);
        const QByteArray written = writeRegFile(first);
        EXPECT_LE(written.size(), kMaxRegFileBytes);
        const RegDocument again = parseRegFile(written);
        EXPECT_EQ(again.damagedLines, 0);
        EXPECT_EQ(again.keys, first.keys);
    }
}

} // namespace
