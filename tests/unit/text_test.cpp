// Bounded text helpers and the start-up's command-line tail.
#include <gtest/gtest.h>

#include <string>

#include "check/args.h"
#include "install/logrules.h"
#include "install/wininitrule.h"
#include "runtime/cmdline.h"
#include "runtime/text.h"
#include "script/destination.h"
#include "script/paths.h"

TEST(Text, CopyAndAppendCutAtWidthLessOneAndReportIt) {
    char buf[6];
    EXPECT_EQ(1, TextCopy(buf, sizeof(buf), "abcde"));
    EXPECT_STREQ("abcde", buf);
    EXPECT_EQ(0, TextCopy(buf, sizeof(buf), "abcdef"));
    EXPECT_STREQ("abcde", buf);
    TextCopy(buf, sizeof(buf), "ab");
    EXPECT_EQ(1, TextAppend(buf, sizeof(buf), "cde"));
    EXPECT_EQ(0, TextAppend(buf, sizeof(buf), "x"));
    EXPECT_STREQ("abcde", buf);
}

TEST(Text, JoinNeverCutsAPathIntoAnother) {
    char buf[10];
    EXPECT_EQ(1, TextJoin(buf, sizeof(buf), "C:", "\\", "ABCDEF"));
    EXPECT_STREQ("C:\\ABCDEF", buf);
    EXPECT_EQ(0, TextJoin(buf, sizeof(buf), "C:", "\\", "ABCDEFG"));
    EXPECT_STREQ("", buf);
}

TEST(Text, ComparisonsAndNumbers) {
    EXPECT_TRUE(TextEqualNoCase("winsystemdir", "WinSystemDir"));
    EXPECT_FALSE(TextEqualNoCase("WinSystem", "WinSystemDir"));
    EXPECT_TRUE(TextContains("x BIOS\\*PNP0F13\\0", "BIOS\\*PNP0F13\\"));
    EXPECT_FALSE(TextContains("bios\\*pnp0f13\\", "BIOS\\*PNP0F13\\"));
    char n[8];
    EXPECT_EQ(1, TextFromInt(n, sizeof(n), 3, 4));
    EXPECT_STREQ("0003", n);
    EXPECT_EQ(1, TextFromInt(n, sizeof(n), 10000, 4));
    EXPECT_STREQ("10000", n);
    EXPECT_EQ(1, TextFromInt(n, sizeof(n), -12));
    EXPECT_STREQ("-12", n);
    EXPECT_EQ(0, TextFromInt(n, 4, 12345));
}

TEST(Text, SamePathPassesOverDotPartsAndDoubledSeparatorsOnly) {
    // What the copy engine composes for a RootDir of "." or "", against the journal's path.
    EXPECT_TRUE(TextSamePathNoCase("C:\\QORVA\\.\\SETUP.INF", "c:\\qorva\\setup.inf"));
    EXPECT_TRUE(TextSamePathNoCase("C:\\QORVA\\\\SETUP.INF", "C:\\QORVA\\SETUP.INF"));
    EXPECT_TRUE(TextSamePathNoCase("C:\\QORVA\\", "C:\\QORVA"));
    EXPECT_FALSE(TextSamePathNoCase("C:\\QORVA\\SETUP.INF", "C:\\QORVA\\SETUP.IN"));
    EXPECT_FALSE(TextSamePathNoCase("C:\\QORVA\\SETUP.IN", "C:\\QORVA\\SETUP.INF"));
    EXPECT_FALSE(TextSamePathNoCase("C:\\QORVA\\HELP\\SETUP.INF", "C:\\QORVA\\SETUP.INF"));
    EXPECT_FALSE(TextSamePathNoCase("C:\\QORVA\\.X\\SETUP.INF", "C:\\QORVA\\SETUP.INF"));
    EXPECT_FALSE(TextSamePathNoCase("C:\\QORVA\\..\\SETUP.INF", "C:\\QORVA\\SETUP.INF"));
    EXPECT_TRUE(TextSamePathNoCase("", "\\.\\"));
}

TEST(CommandLine, TailSkipsProgramNameAndControlCharacters) {
    EXPECT_STREQ("-u", CommandLineTail("SETUP.EXE -u"));
    EXPECT_STREQ("-u x", CommandLineTail("\"C:\\My Dir\\SETUP.EXE\" \t -u x"));
    EXPECT_STREQ("", CommandLineTail("SETUP.EXE"));
    EXPECT_STREQ("", CommandLineTail("\"unterminated"));
    EXPECT_STREQ("b -U", CommandLineTail("a\tb -U"));
}

// The scans on a double-byte Windows: code pages 932 (Japanese), 936 (Simplified Chinese),
// 949 (Korean) and 950 (Traditional Chinese), by their lead-byte ranges. In all four
// "\x83" leads a character; its second byte can be 0x5C, the backslash (ソ and 表 are 83 5C
// and 95 5C in 932), "|" (ポ, 83 7C) or a letter (新, 90 56). "\xB1" leads a character in
// 936, 949 and 950 but is a character of its own in 932 (half-width katakana).
namespace {

struct CodePage {
    int number;
    int (*isLead)(unsigned char);
};
const CodePage kCodePages[] = {
    {932,
     [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 1 : 0; }},
    {936, [](unsigned char b) { return b >= 0x81 && b <= 0xFE ? 1 : 0; }},
    {949, [](unsigned char b) { return b >= 0x81 && b <= 0xFE ? 1 : 0; }},
    {950, [](unsigned char b) { return b >= 0x81 && b <= 0xFE ? 1 : 0; }},
};

class DoubleByteText : public ::testing::Test {
  protected:
    void TearDown() override { TextSetLeadBytes(nullptr); }
};

std::string Copied(int width, const char* text) {
    char buf[32];
    TextCopy(buf, width, text);
    return buf;
}

}  // namespace

TEST_F(DoubleByteText, PathScansNeverTakeASecondByteForABackslash) {
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE(cp.number);
        TextSetLeadBytes(cp.isLead);
        EXPECT_EQ(6, TextLastBackslash("C:\\DIR\\\x83\x5C"));
        EXPECT_EQ(2, TextLastBackslash("C:\\\x95\x5C"));
        char path[32] = "C:\\A\\\x95\x5C";
        CutAtLastBackslash(path);
        EXPECT_STREQ("C:\\A", path);
        char trailing[32] = "C:\\\x83\x5C\\\\";
        EXPECT_EQ(5, TextTrimBackslashes(trailing, 3));
        EXPECT_STREQ("C:\\\x83\x5C", trailing);
        EXPECT_EQ(5, TextTrimBackslashes(trailing, 3));
        // Doubled separators next to a second byte 0x5C; a part ending in one is no part
        // followed by a separator.
        EXPECT_TRUE(TextSamePathNoCase("C:\\\x83\x5C\\\\X", "c:\\\x83\x5C\\x"));
        EXPECT_FALSE(TextSamePathNoCase("C:\\\x83\x5CX", "C:\\\x83\x5C\\X"));
        char plain[kRenamePathWidth];
        EXPECT_EQ(1, PlainPath(plain, "C:\\\x83\x5C\\\\X\\.\\\x95\x5C"));
        EXPECT_STREQ("C:\\\x83\x5C\\X\\\x95\x5C", plain);
        // The levels of C:\ソ\新規\マウス\ (a trailing separator makes none).
        const char* levels = "C:\\\x83\x5C\\\x90\x56\x8B\x4B\\\x83\x7D\x83\x45\x83\x58\\";
        EXPECT_EQ(5, NextDirLevel(levels, 3));
        EXPECT_EQ(10, NextDirLevel(levels, 5));
        EXPECT_EQ(17, NextDirLevel(levels, 10));
        EXPECT_EQ(-1, NextDirLevel(levels, 17));
        char dir[32];
        int quiet = 0;
        EXPECT_EQ(1, ParseCheckArgs("C:\\\x83\x68\x95\x5C", &quiet, dir, sizeof(dir)));
        EXPECT_STREQ("C:\\\x83\x68\x95\x5C", dir);
    }
    // In 932 "\xB1" is a character of its own: the backslash after it is one.
    TextSetLeadBytes(kCodePages[0].isLead);
    EXPECT_EQ(4, TextLastBackslash("C:\\\xB1\\"));
    TextSetLeadBytes(kCodePages[1].isLead);
    EXPECT_EQ(2, TextLastBackslash("C:\\\xB1\\"));
}

TEST_F(DoubleByteText, CutsNeverLeaveHalfACharacter) {
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE(cp.number);
        TextSetLeadBytes(cp.isLead);
        EXPECT_EQ("AB\x83\x5C", Copied(5, "AB\x83\x5C\x83\x5C"));
        EXPECT_EQ("AB", Copied(4, "AB\x83\x5C"));
        char appended[5] = "AB";
        EXPECT_EQ(0, TextAppend(appended, sizeof(appended), "C\x95\x5C"));
        EXPECT_STREQ("ABC", appended);
        char torn[8] = "AB\x83\x5C\x95";
        EXPECT_EQ(4, TextDropTornCharacter(torn));
        EXPECT_STREQ("AB\x83\x5C", torn);
        EXPECT_EQ(4, TextDropTornCharacter(torn));
    }
    TextSetLeadBytes(kCodePages[0].isLead);
    EXPECT_EQ("AB\xB1", Copied(4, "AB\xB1\x5C"));
}

TEST_F(DoubleByteText, LetterCaseNeverFoldsASecondByte) {
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE(cp.number);
        TextSetLeadBytes(cp.isLead);
        EXPECT_TRUE(TextEqualNoCase("a\x90\x56.txt", "A\x90\x56.TXT"));
        EXPECT_FALSE(TextEqualNoCase("\x90\x56", "\x90\x76"));
        EXPECT_FALSE(TextSamePathNoCase("C:\\\x8B\x4B", "c:\\\x8B\x6B"));
        EXPECT_FALSE(TextContains("C:\\\x83\x7C", "|"));
        EXPECT_FALSE(
            TextContains("\x83\x5C"
                         "A",
                         "\\A"));
    }
}

// A path holding ポ (83 7C: its second byte is "|") is written to the install log and read
// back whole; the bar between a file line's two paths is found after it.
TEST_F(DoubleByteText, InstallLogLinesKeepASecondByteBar) {
    for (const CodePage& cp : kCodePages) {
        SCOPED_TRACE(cp.number);
        TextSetLeadBytes(cp.isLead);
        const char* path = "C:\\\x83\x7C\\A.TXT";
        char line[64], a[32], b[32];
        ASSERT_EQ(1, MakeLogLine(line, sizeof(line), LogNew, path, "C:\\~SUWORK\\T1.TMP"));
        line[TextLength(line) - 2] = 0;  // the block holds lines without their ends
        EXPECT_EQ(LogNew, SplitLogLine(line, a, sizeof(a), b, sizeof(b)));
        EXPECT_STREQ(path, a);
        EXPECT_STREQ("C:\\~SUWORK\\T1.TMP", b);
    }
}
