// The package checker's rules that the broken fixture package cannot show at once: the
// command line, alternatives of one key, and limits a package on a drive root never meets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/args.h"
#include "check/report.h"
#include "check/rules.h"
#include "runtime/text.h"

namespace {

std::vector<std::string> Lines;
void Capture(const char* line) { Lines.push_back(line); }

class CheckRules : public ::testing::Test {
  protected:
    FileEntry table[2];

    void SetUp() override {
        Lines.clear();
        ReportBegin(Capture, 0);
        const char* keys[] = {"RootDir", "SubDir1", "SubDir2", "SubDir3",      "SubDir4",
                              "SubDir5", "SubDir6", "WinDir",  "WinSystemDir", "WinInfDir"};
        for (int k = 0; k < kDirKeyCount; ++k) TextCopy(ScriptNames.DirKey[k], kNameWidth, keys[k]);
        for (int n = 0; n < kMaxDisks; ++n) {
            char name[8] = "Disk1";
            name[4] = static_cast<char>('1' + n);
            TextCopy(ScriptNames.Disk[n], kNameWidth, name);
        }
        TextCopy(ScriptNames.FileCounts, kNameWidth, "FileCounts");
        TextCopy(ScriptNames.DirectoryName, kNameWidth, "DirectoryName");
        ZeroBytes(Shared::DirTable, sizeof(Shared::DirTable));
        ZeroBytes(table, sizeof(table));
        ZeroBytes(&Shared::DiskSet, sizeof(Shared::DiskSet));
        Shared::FileTable = table;
    }
    void TearDown() override { Shared::FileTable = nullptr; }

    // The report's lines joined, one per line.
    std::string Text() {
        std::string all;
        for (const std::string& line : Lines) all += line + "\n";
        return all;
    }
};

TEST(CheckArgs, QuietAndOneDirectoryQuotedOrNot) {
    int quiet;
    char dir[80];
    ASSERT_EQ(1, ParseCheckArgs("--quiet \"C:\\My Package\\\"", &quiet, dir, sizeof(dir)));
    EXPECT_EQ(1, quiet);
    EXPECT_STREQ("C:\\My Package", dir);
    ASSERT_EQ(1, ParseCheckArgs("  A:\\ ", &quiet, dir, sizeof(dir)));
    EXPECT_EQ(0, quiet);
    EXPECT_STREQ("A:", dir);
    EXPECT_EQ(0, ParseCheckArgs("", &quiet, dir, sizeof(dir)));
    EXPECT_EQ(0, ParseCheckArgs("A: B:", &quiet, dir, sizeof(dir)));
    EXPECT_EQ(0, ParseCheckArgs("--verbose A:", &quiet, dir, sizeof(dir)));
    EXPECT_EQ(0, ParseCheckArgs(std::string(100, 'x').c_str(), &quiet, dir, sizeof(dir)));
}

TEST_F(CheckRules, LineShapeCountsAndExitCodes) {
    EXPECT_EQ(0, ReportExitCode());
    Found(NoteTotals, "totals", "3", "10");
    EXPECT_EQ(0, ReportExitCode());
    Found(FindOemRange, "[Main] OEM", "2");
    EXPECT_EQ(1, ReportExitCode());
    FoundNumbers(FindCountNegative, "[FileCounts] Disk2", -1, 0, "Disk2");
    EXPECT_EQ(2, ReportExitCode());
    ReportSummary();
    EXPECT_EQ(
        "note    totals: 3 entries, 10 bytes after expansion\n"
        "warning [Main] OEM: 2 is neither 0 nor 1 -- SETUP.EXE hides the lower banner as for 1\n"
        "error   [FileCounts] Disk2: negative count -1 -- SETUP.EXE takes it as 0 and copies "
        "nothing of [Disk2]\n"
        "SETUPCHK: 1 error, 1 warning\n",
        Text());
    // Quiet: errors alone, no summary; everything still counts.
    Lines.clear();
    ReportBegin(Capture, 1);
    Found(FindOemRange, "[Main] OEM", "2");
    Found(FindScriptMissing, "SETUP.INF");
    ReportSummary();
    ASSERT_EQ(1u, Lines.size());
    EXPECT_EQ(0u, Lines[0].find("error   SETUP.INF: missing -- "));
    EXPECT_EQ(2, ReportExitCode());
}

TEST_F(CheckRules, DefaultPathEmptyOrNoFullPathAndNegativeSpace) {
    CheckDefaultPath("[Main] DefaultPath", "", "C:\\Program Files\\", "C:\\Program Files");
    EXPECT_NE(std::string::npos, Text().find("error   [Main] DefaultPath: empty -- SETUP.EXE "
                                             "installs into C:\\Program Files\\ itself"));
    Lines.clear();
    CheckDefaultPath("[Main] DefaultPath", "C:QORVA", "C:QORVA", "C:\\Program Files");
    EXPECT_NE(std::string::npos, Text().find("error   [Main] DefaultPath: the installation "
                                             "directory \"C:QORVA\" is not a full path"));
    Lines.clear();
    CheckDefaultPath("[Main] DefaultPath", "QORVA", "C:\\Program Files\\QORVA",
                     "C:\\Program Files");
    EXPECT_EQ(1u, Lines.size()) << Text();  // the note alone: Program Files exists everywhere
    Lines.clear();
    CheckMinimumSpace("[Main] MinimumSpace", -5);
    EXPECT_NE(std::string::npos, Text().find("error   [Main] MinimumSpace: -5 is negative"));
}

TEST_F(CheckRules, CountsAboveTheLimitAndDisksAfterALabelGap) {
    DiskFacts disks[kMaxDisks] = {};
    disks[0] = {1, 1, 30000, 1};
    disks[1] = {1, 1, 2768, 1};
    disks[3] = {0, 0, 0, 1};  // lines of a disk beyond the labels
    EXPECT_EQ(0, CheckDisks(disks, 2));
    EXPECT_NE(std::string::npos,
              Text().find("error   [FileCounts] Disk2: 32768 file lines in all"));
    EXPECT_NE(std::string::npos, Text().find("error   [Disk4]: disk 4 is not in use"));
    Lines.clear();
    CheckDiskKeys(0,
                  "1\0"
                  "2\0"
                  "02\0"
                  "x\0"
                  "3\0",
                  2);
    EXPECT_EQ(3u, Lines.size()) << Text();  // 02, x and 3 are never read
}

TEST_F(CheckRules, SubDirsCreatedLevelByLevel) {
    TextCopy(Shared::DirTable[1], kDirWidth, "HELP");
    TextCopy(Shared::DirTable[2], kDirWidth, "HELP\\IMAGES");
    TextCopy(Shared::DirTable[3], kDirWidth, "DOCS\\EN");
    TextCopy(Shared::DirTable[5], kDirWidth, "DOCS");  // too late for SubDir3
    int created[kDirKeyCount];
    CheckSubDirs(created);
    EXPECT_EQ(1, created[1]);
    EXPECT_EQ(1, created[2]);
    EXPECT_EQ(0, created[3]);
    EXPECT_EQ(1, created[5]);
    EXPECT_EQ(
        "error   [DirectoryName] SubDir3: \"DOCS\\EN\" is not created: its first level is not "
        "a SubDir created before it -- every entry bound for it fails without notice\n",
        Text());
}

TEST_F(CheckRules, SourcePathTooLongForADeepPackage) {
    Shared::DiskSet.DiskCount = 1;
    Shared::DiskSet.Disk[0].FileCount = 1;
    TextCopy(Shared::SourceDir, kDirWidth,
             "Z:\\packages\\a package directory deep below the root of a drive");
    TextCopy(Shared::InstallDir, kDirWidth, "C:\\QORVA");
    TextCopy(table[0].DirName, kEntryDirWidth, "DRIVER");
    TextCopy(table[0].SourceFile, kFileNameWidth, "QXMOUSE.DR_");
    TextCopy(table[0].DestFile, kFileNameWidth, "QXMOUSE.DRV");
    char source[kDirWidth], dest[kDirWidth];
    EXPECT_EQ(0, CheckEntryPaths("[Disk1] 1", 0, 0, source, dest));
    EXPECT_EQ(0u, Text().find("error   [Disk1] 1: the source path is 81 characters, more than 79"))
        << Text();
}

}  // namespace
