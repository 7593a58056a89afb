// File lines of SETUP.INF, the destination rule, the source directory cut and the text ring.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "script/fileline.h"
#include "script/paths.h"
#include "script/plainlines.h"
#include "texts/textring.h"

namespace {

// RingPosition as the program starts (it is constant-initialised, so this reads it before
// any test has moved it).
const int kRingAtStart = RingPosition();

// All fields of a line, taken one after the other as the loader does.
std::vector<std::string> Fields(const char* line, int count) {
    std::vector<std::string> out;
    char field[kLineWidth];
    const char* pos = line;
    for (int i = 0; i < count; ++i) {
        pos = SplitField(pos, field);
        out.push_back(field);
    }
    return out;
}

const char* const kKeyNames[kDirKeyCount] = {"RootDir",      "SubDir1",  "SubDir2", "SubDir3",
                                             "SubDir4",      "SubDir5",  "SubDir6", "WinDir",
                                             "WinSystemDir", "WinInfDir"};

// Parses a line against a directory table whose SubDirN values are "subN" unless given.
FileEntry Parse(const char* line, const char* windowsDir = "C:\\WINDOWS",
                const char* sub1 = "drivers") {
    char table[kDirKeyCount][kDirWidth] = {"",     "",     "sub2", "sub3",   "sub4",
                                           "sub5", "sub6", "win",  "system", "inf"};
    snprintf(table[1], kDirWidth, "%s", sub1);
    FileEntry e;
    memset(&e, 0, sizeof(e));
    ParseFileLine(line, kKeyNames, table, windowsDir, &e);
    return e;
}

}  // namespace

TEST(SplitField, BlanksAroundAFieldGoInsideStay) {
    EXPECT_EQ((std::vector<std::string>{"MOUSE.DRV", "MOUSE.DRV", "Mouse  driver", "subdir1"}),
              Fields(" MOUSE.DRV ,  MOUSE.DRV,Mouse  driver ,subdir1", 4));
    // A field of blanks only is empty; only 0x20 is a blank, a tab is kept as it is.
    EXPECT_EQ((std::vector<std::string>{"", "\tA\t", "B \t"}), Fields("   ,\tA\t, B \t ", 3));
}

TEST(SplitField, MissingFieldsAreEmptyAndExtraTextIsIgnored) {
    EXPECT_EQ((std::vector<std::string>{"A", "B", "", "", ""}), Fields("A,B", 5));
    EXPECT_EQ((std::vector<std::string>{"", "", "", ""}), Fields("", 4));
    EXPECT_EQ((std::vector<std::string>{"", "", "C", ""}), Fields(",,C,", 4));

    char field[kLineWidth];
    const char* line = "A,B,C,WinDir,extra,more";
    const char* pos = line;
    for (int i = 0; i < 4; ++i) pos = SplitField(pos, field);
    EXPECT_STREQ("WinDir", field);
    EXPECT_EQ(line + 13, pos);  // the rest of the line is never read

    // At the end of the line the position stays there.
    const char* end = SplitField(SplitField("X", field), field);
    EXPECT_EQ('\0', *end);
}

TEST(SplitField, AFieldHoldsAtMost127Characters) {
    std::string line(200, 'x');
    line += ",next";
    std::vector<std::string> f = Fields(line.c_str(), 2);
    EXPECT_EQ(std::string(127, 'x'), f[0]);
    EXPECT_EQ("next", f[1]);
}

TEST(FileLine, FieldsAndDirectoryKeyInAnyCase) {
    FileEntry e = Parse(" QXMOUSE.DR_ ,  QXMOUSE.DRV,Mouse  driver ,subdir1 ");
    EXPECT_STREQ("QXMOUSE.DR_", e.SourceFile);
    EXPECT_STREQ("QXMOUSE.DRV", e.DestFile);
    EXPECT_STREQ("Mouse  driver", e.Description);
    EXPECT_STREQ("drivers", e.DirName);
    EXPECT_STREQ("drivers", e.DestDir);
    EXPECT_EQ(0, e.DestIsAbsolute);

    e = Parse("A.VXD,A.VXD,Virtual driver,WINSYSTEMDIR");
    EXPECT_STREQ("system", e.DirName);
    EXPECT_STREQ("C:\\WINDOWS\\SYSTEM", e.DestDir);
    EXPECT_EQ(1, e.DestIsAbsolute);

    e = Parse("A.VXD,A.VXD,Blanks around the key,   SubDir1  ");
    EXPECT_STREQ("drivers", e.DirName);
    EXPECT_EQ(0, e.DestIsAbsolute);

    e = Parse("A.INF,A.INF,,wininfdir");
    EXPECT_STREQ("inf", e.DirName);
    EXPECT_STREQ("C:\\WINDOWS\\INF", e.DestDir);
    EXPECT_EQ(1, e.DestIsAbsolute);

    e = Parse("A.INI,A.INI,,WinDir");
    EXPECT_STREQ("win", e.DirName);
    EXPECT_STREQ("C:\\WINDOWS", e.DestDir);
    EXPECT_EQ(1, e.DestIsAbsolute);

    // RootDir with an empty value: the entry lies directly in the source and install dirs.
    e = Parse("A.EXE,A.EXE,,RootDir");
    EXPECT_STREQ("", e.DirName);
    EXPECT_STREQ("", e.DestDir);
    EXPECT_EQ(0, e.DestIsAbsolute);
}

TEST(FileLine, UnknownOrMissingKeyLeavesTheDirectoriesEmpty) {
    for (const char* line : {"A.DLL,B.DLL", "A.DLL,B.DLL,Text,SubDir7", "A.DLL,B.DLL,Text,Sub Dir1",
                             "A.DLL,B.DLL,Text,\tSubDir1"}) {
        FileEntry e = Parse(line);
        EXPECT_STREQ("A.DLL", e.SourceFile) << line;
        EXPECT_STREQ("B.DLL", e.DestFile) << line;
        EXPECT_STREQ("", e.DirName) << line;
        EXPECT_STREQ("", e.DestDir) << line;
        EXPECT_EQ(0, e.DestIsAbsolute) << line;
    }
}

TEST(FileLine, LongDescriptionIsCutLongNamesAreRefused) {
    std::string desc(70, 'd');
    FileEntry e = Parse(("ABCDEFGHIJ.DLL,ABCDEFGHIJ.DLL," + desc + ",SubDir1").c_str());
    EXPECT_STREQ("ABCDEFGHIJ.DLL", e.SourceFile);  // 14 characters fit
    EXPECT_STREQ("ABCDEFGHIJ.DLL", e.DestFile);
    EXPECT_EQ(std::string(61, 'd'), e.Description);
    EXPECT_STREQ("drivers", e.DestDir);

    // A 15-character name cut to 14 would be another file: the entry keeps its description
    // only, whichever name is too long.
    for (const char* line :
         {"ABCDEFGHIJK.DLL,A.DLL,Driver,SubDir1", "A.DLL,ABCDEFGHIJK.DLL,Driver,WinSystemDir"}) {
        e = Parse(line);
        EXPECT_STREQ("", e.SourceFile) << line;
        EXPECT_STREQ("", e.DestFile) << line;
        EXPECT_STREQ("", e.DirName) << line;
        EXPECT_STREQ("", e.DestDir) << line;
        EXPECT_EQ(0, e.DestIsAbsolute) << line;
        EXPECT_EQ(1, e.NameTooLong) << line;  // so the copy fails on it
        EXPECT_STREQ("Driver", e.Description) << line;
    }
    EXPECT_EQ(0, Parse(",,No source,SubDir1").NameTooLong);
}

TEST(FileLine, DirectoriesThatDoNotFitLeaveTheEntryUnusable) {
    std::string dir39(39, 'p');
    FileEntry e = Parse("A.DLL,A.DLL,Text,SubDir1", "C:\\WINDOWS", dir39.c_str());
    EXPECT_EQ(dir39, e.DirName);
    EXPECT_EQ(dir39, e.DestDir);

    std::string dir40(40, 'p');
    e = Parse("A.DLL,A.DLL,Text,SubDir1", "C:\\WINDOWS", dir40.c_str());
    EXPECT_STREQ("", e.DirName);
    EXPECT_STREQ("", e.DestDir);
    EXPECT_STREQ("", e.SourceFile);
    EXPECT_STREQ("", e.DestFile);
    EXPECT_EQ(0, e.DestIsAbsolute);
    EXPECT_EQ(1, e.NameTooLong);
    EXPECT_STREQ("Text", e.Description);

    // The Windows directory with its suffix must fit 39 characters, one more does not.
    std::string win32 = "C:\\" + std::string(29, 'w');
    e = Parse("A.VXD,A.VXD,,WinSystemDir", win32.c_str());
    EXPECT_EQ(win32 + "\\SYSTEM", e.DestDir);
    EXPECT_EQ(1, e.DestIsAbsolute);
    std::string win33 = win32 + "w";
    e = Parse("A.VXD,A.VXD,,WinSystemDir", win33.c_str());
    EXPECT_STREQ("", e.DestDir);
    EXPECT_STREQ("", e.DestFile);
    EXPECT_EQ(0, e.DestIsAbsolute);
    std::string win35 = "C:\\" + std::string(32, 'w');
    e = Parse("A.INF,A.INF,,WinInfDir", win35.c_str());
    EXPECT_EQ(win35 + "\\INF", e.DestDir);
    e = Parse("A.INF,A.INF,,WinInfDir", (win35 + "w").c_str());
    EXPECT_STREQ("", e.DestDir);
    std::string win40 = "C:\\" + std::string(37, 'w');
    e = Parse("A.INI,A.INI,,WinDir", win40.c_str());
    EXPECT_STREQ("", e.DestDir);
    EXPECT_STREQ("", e.DestFile);
    EXPECT_EQ(1, e.NameTooLong);
}

TEST(InstallDirRule, ADrivePathMovesToTheWindowsDrive) {
    char dir[kDirWidth];
    EXPECT_EQ(1, ComposeInstallDir(dir, "C:\\QORVA", "E:\\WINDOWS", "C:\\Program Files"));
    EXPECT_STREQ("E:\\QORVA", dir);
    EXPECT_EQ(1, ComposeInstallDir(dir, "D:\\Tools\\Mouse", "C:\\WINDOWS", "C:\\Program Files"));
    EXPECT_STREQ("C:\\Tools\\Mouse", dir);
    // Anything with a colon in second place and more than two characters counts, even
    // without a backslash behind it.
    EXPECT_EQ(1, ComposeInstallDir(dir, "D:MOUSE", "C:\\WINDOWS", "X"));
    EXPECT_STREQ("C:MOUSE", dir);
    std::string v79 = "D:\\" + std::string(76, 'm');
    EXPECT_EQ(1, ComposeInstallDir(dir, v79.c_str(), "C:\\WINDOWS", "X"));
    EXPECT_EQ("C" + v79.substr(1), dir);
}

TEST(InstallDirRule, AnythingElseGoesBelowTheProgramsDirectory) {
    char dir[kDirWidth];
    const char* programs = "C:\\Program Files";
    EXPECT_EQ(1, ComposeInstallDir(dir, "Qorva\\Mouse", "D:\\WIN", programs));
    EXPECT_STREQ("C:\\Program Files\\Qorva\\Mouse", dir);
    EXPECT_EQ(1, ComposeInstallDir(dir, "\\Qorva\\Mouse", "D:\\WIN", programs));
    EXPECT_STREQ("C:\\Program Files\\Qorva\\Mouse", dir);
    EXPECT_EQ(1, ComposeInstallDir(dir, "", "D:\\WIN", programs));
    EXPECT_STREQ("C:\\Program Files\\", dir);
    EXPECT_EQ(1, ComposeInstallDir(dir, "D:", "C:\\WIN", programs));  // a drive alone
    EXPECT_STREQ("C:\\Program Files\\D:", dir);
}

TEST(InstallDirRule, AComposedDirectoryThatDoesNotFitIsLeftEmpty) {
    char dir[kDirWidth];
    std::string programs = "C:\\" + std::string(60, 'p');  // 63 characters
    std::string name15(15, 'n');
    EXPECT_EQ(1, ComposeInstallDir(dir, name15.c_str(), "C:\\W", programs.c_str()));
    EXPECT_EQ(programs + "\\" + name15, dir);  // 79 characters
    std::string name16(16, 'n');
    EXPECT_EQ(0, ComposeInstallDir(dir, name16.c_str(), "C:\\W", programs.c_str()));
    EXPECT_STREQ("", dir);
    EXPECT_EQ(0, ComposeInstallDir(dir, ("\\" + name16).c_str(), "C:\\W", programs.c_str()));
    EXPECT_STREQ("", dir);
}

TEST(SourceDirCut, CutsAtTheLastBackslashButNeverTheFirstCharacter) {
    struct Case {
        const char* path;
        const char* dir;
    } cases[] = {
        {"C:\\QORVA\\DISK1\\SETUP.EXE", "C:\\QORVA\\DISK1"},
        {"C:\\SETUP.EXE", "C:"},
        {"\\\\SERVER\\SHARE\\SETUP.EXE", "\\\\SERVER\\SHARE"},
        {"\\SETUP.EXE", "\\SETUP.EXE"},
        {"SETUP.EXE", "SETUP.EXE"},
        {"C:\\DIR\\", "C:\\DIR"},
        {"", ""},
    };
    for (const Case& c : cases) {
        char buf[kDirWidth];
        snprintf(buf, sizeof(buf), "%s", c.path);
        CutAtLastBackslash(buf);
        EXPECT_STREQ(c.dir, buf) << c.path;
    }
}

TEST(TextRing, FourSlotsInTurnFromSlotZero) {
    // The ring's position is process-wide: find where it stands, then check the turn.
    int start = NextRingSlot();
    ASSERT_GE(start, 0);
    ASSERT_LT(start, kRingSlots);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ((start + i) % kRingSlots, NextRingSlot());
}

TEST(TextRing, TheFirstTextAfterStartGoesToSlotZero) {
    EXPECT_EQ(kRingSlots - 1, kRingAtStart);  // so the first NextRingSlot gives slot 0
}

// ---- the numbered lines read from the script's text ----

namespace {

// What FindPlainLines gives for keys 1 to count of [Disk1]: each value, "?" for a key left
// to the profile functions; "refused" first when the whole text was.
std::vector<std::string> Plain(const std::string& text, int count, const char* section = "Disk1") {
    std::vector<PlainLine> lines(static_cast<size_t>(count));
    int plain = FindPlainLines(text.data(), static_cast<long>(text.size()), section, count, 128,
                               lines.data());
    std::vector<std::string> out;
    if (!plain) out.push_back("refused");
    for (const PlainLine& l : lines)
        out.push_back(l.start == kAskProfile ? "?" : text.substr(l.start, l.length));
    return out;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(PlainLines, PlainKeysAreReadAndAbsentOnesAreEmpty) {
    std::string text =
        "[Main]\r\n1=not this\r\n[disk1]\r\n; a comment\r\n\r\n  \t\r\n"
        "1=A.DL_, A.DLL, Driver, SubDir1\r\n3=\r\n01=leading zero\r\n5=beyond the count\n"
        "Name=other keys are no concern\r\n[Disk2]\r\n2=next section\r\n";
    EXPECT_EQ((Lines{"A.DL_, A.DLL, Driver, SubDir1", "", "", ""}), Plain(text, 4));
    EXPECT_EQ((Lines{"", "next section"}), Plain(text, 2, "DISK2"));
    EXPECT_EQ((Lines{"", ""}), Plain(text, 2, "Disk3"));  // no such section
    EXPECT_EQ((Lines{"x"}), Plain("[Disk1]\r\n1=x", 1));  // a last line without its end
}

TEST(PlainLines, AnythingTheProfileFunctionsMightReadOtherwiseIsLeftToThem) {
    std::string text = "[Disk1]\r\n 1=x\r\n2 =x\r\n3= x\r\n4=\"x\"\r\n5='x'\r\n6=x \r\n"
                       "7=a\tb\r\n8=\x95\x5c\r\n9=a\r\n9=b\r\n10\r\n11=" +
                       std::string(128, 'w') + "\r\n12=" + std::string(127, 'v') + "\r\n";
    Lines want(11, "?");
    want.push_back(std::string(127, 'v'));
    EXPECT_EQ(want, Plain(text, 12));
}

TEST(PlainLines, TextsThatAreNotPlainAreRefusedWhole) {
    const std::string ok = "[Disk1]\r\n1=x\r\n";
    EXPECT_EQ((Lines{"x"}), Plain(ok, 1));
    for (const std::string& bad :
         {std::string("\xEF\xBB\xBF") + ok, ok + std::string("2=a\0b\r\n", 7), ok + "2=a\rb\n",
          ok + "\x1A", ok + "2=" + std::string(254, 'x') + "\r\n", ok + " [Disk2]\r\n",
          ok + "[Disk2] x\r\n", ok + "[Disk2\r\n", ok + "[Disk1]\r\n", ok + "\x82\x50=x\r\n",
          ok + "[Dis\x82k]\r\n", ok + "2=x\r"})
        EXPECT_EQ((Lines{"refused", "?"}), Plain(bad, 1)) << bad;
    // A long line or an odd byte outside the keys' section refuses the text too; a comment
    // or another key's value in the section with them does not.
    EXPECT_EQ((Lines{"x"}), Plain(ok + "; \x95\x5c\r\nK=\x95\x5c\r\n", 1));
}

TEST(PlainLines, TheProfileFunctionsListingMustAgree) {
    std::string text = "[Disk1]\r\n1=a\r\n2=b\r\n3=\"c\"\r\n";
    std::vector<PlainLine> lines(4);
    ASSERT_TRUE(FindPlainLines(text.data(), static_cast<long>(text.size()), "Disk1", 4, 128,
                               lines.data()));
    auto agree = [&](const std::string& listed, int truncated) {
        return PlainLinesAgree(listed.data(), static_cast<long>(listed.size()), truncated,
                               text.data(), 4, lines.data());
    };
    EXPECT_TRUE(agree(std::string("1=a\0" "2=b\0" "3=c\0", 12), 0));  // 3 is left to them
    EXPECT_TRUE(agree(std::string("1=a\0" "4=\0" "x=y\0", 11), 0));
    EXPECT_FALSE(agree(std::string("1=a\0" "2=B\0", 8), 0));
    EXPECT_FALSE(agree(std::string("4=d\0", 4), 0));  // a key the text was read without
    EXPECT_TRUE(agree(std::string("1=a\0" "2=", 6), 1));  // cut short at the buffer's end
    EXPECT_FALSE(agree(std::string("1=a\0" "2=", 6), 0));
}
