// Bounded text helpers and the start-up's command-line tail.
#include <gtest/gtest.h>

#include "runtime/cmdline.h"
#include "runtime/text.h"

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
