// The package checker's rules that the broken fixture package cannot show at once: the
// command line, alternatives of one key, and limits a package on a drive root never meets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/args.h"
#include "check/authorrules.h"
#include "check/plan.h"
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
        TextCopy(ScriptNames.DiskLabel, kNameWidth, "DiskLabel");
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
    // Labels on Disk1 and Disk3 make two disks: Disk1 and the unlabelled Disk2.
    Lines.clear();
    DiskFacts gap[kMaxDisks] = {};
    gap[0] = {1, 1, 1, 1};
    gap[1] = {0, 1, 1, 1};
    gap[2] = {1, 1, 1, 1};
    EXPECT_EQ(1, CheckDisks(gap, 2));
    EXPECT_NE(std::string::npos,
              Text().find("warning [DiskLabel] Disk2: empty, but [DiskLabel] has 2 labels -- "
                          "SETUP.EXE reads [Disk2] all the same"))
        << Text();
    EXPECT_NE(std::string::npos, Text().find("[DiskLabel] Disk3: disk 3 is not in use: "
                                             "[DiskLabel] has 2 labels, and SETUP.EXE reads"));
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
    TextCopy(Shared::InstallDir, kDirWidth,
             "C:\\A DEEP INSTALLATION DIRECTORY OF SIXTY CHARACTERS AND M");
    TextCopy(Shared::DirTable[6], kDirWidth, "A SUBDIRECTORY OF 22C");  // 80 characters in all
    int created[kDirKeyCount];
    CheckSubDirs(created);
    EXPECT_EQ(1, created[1]);
    EXPECT_EQ(1, created[2]);
    EXPECT_EQ(0, created[3]);
    EXPECT_EQ(1, created[5]);
    EXPECT_EQ(0, created[6]);  // too long to be created: its entries are reported instead
    EXPECT_EQ(
        "error   [DirectoryName] SubDir3: \"DOCS\\EN\" is not created: its first level is not "
        "a SubDir created before it -- every entry bound for it fails: the copying page asks "
        "Abort, Retry or Ignore: \"The destination cannot be written\" (Ignore goes on "
        "without the file); /S ends with exit code 1 and nothing is installed\n",
        Text());
}

// On a Japanese Windows (code page 932) a name may end in a byte 0x5C: "C:\ソ" ends in no
// backslash, and "ヘルプ表\ソ" lies in "ヘルプ表", a SubDir made before it.
TEST_F(CheckRules, DoubleByteNamesEndingIn5CAreNoSeparators) {
    TextSetLeadBytes([](unsigned char b) {
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 1 : 0;
    });
    const char* help = "\x83\x77\x83\x8B\x83\x76\x95\x5C";
    TextCopy(Shared::InstallDir, kDirWidth, "C:\\\x83\x5C");
    CheckDefaultPath("[Main] DefaultPath", Shared::InstallDir, Shared::InstallDir,
                     "C:\\Program Files");
    EXPECT_EQ(1u, Lines.size()) << Text();  // the note of the installation directory alone
    Lines.clear();
    TextCopy(Shared::DirTable[1], kDirWidth, help);
    TextJoin(Shared::DirTable[2], kDirWidth, help, "\\\x83\x5C");
    TextJoin(Shared::DirTable[3], kDirWidth, help, "\\..\\\x95\x5C");
    int created[kDirKeyCount];
    CheckSubDirs(created);
    TextSetLeadBytes(nullptr);
    EXPECT_EQ(1, created[1]);
    EXPECT_EQ(1, created[2]);
    EXPECT_EQ(1, created[3]);
    EXPECT_EQ("", Text());
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

// ".." leads out of the installation directory: such a SubDir is created all the same, and
// it and the files bound for it are reported where they land; a drive makes no path.
TEST_F(CheckRules, DotsLeadOutAndADriveLeadsNowhere) {
    TextCopy(Shared::InstallDir, kDirWidth, "C:\\QORVA");
    TextCopy(Shared::DirTable[1], kDirWidth, "..\\X");
    TextCopy(Shared::DirTable[2], kDirWidth, "..\\X\\Y");
    TextCopy(Shared::DirTable[3], kDirWidth, "D:\\Z");
    TextCopy(Shared::DirTable[4], kDirWidth, "A\\..\\B");
    int created[kDirKeyCount];
    CheckSubDirs(created);
    EXPECT_EQ(1, created[1]);
    EXPECT_EQ(1, created[2]);
    EXPECT_EQ(0, created[3]);
    EXPECT_EQ(1, created[4]);  // "A\.." is the installation directory itself
    EXPECT_EQ(
        "warning [DirectoryName] SubDir1: \"..\\X\" leads out of the installation directory, to "
        "C:\\X -- SETUP.EXE writes there; UNINSTAL.EXE removes it only where setup made it\n"
        "warning [DirectoryName] SubDir2: \"..\\X\\Y\" leads out of the installation directory, "
        "to C:\\X\\Y -- SETUP.EXE writes there; UNINSTAL.EXE removes it only where setup made it\n"
        "error   [DirectoryName] SubDir3: \"D:\\Z\" names a drive: the destination would be "
        "C:\\QORVA\\D:\\Z -- no such path exists: the copying page asks Abort, Retry or Ignore: "
        "\"The destination cannot be written\" (Ignore goes on without the file); /S ends "
        "with exit code 1 and nothing is installed\n",
        Text());
    Lines.clear();
    TextCopy(table[0].DestFile, kFileNameWidth, "..\\..\\WIN.INI");
    EXPECT_EQ(1, CheckEntryPlace("[Disk1] 1", table[0], "C:\\QORVA\\\\..\\..\\WIN.INI"));
    EXPECT_EQ(0u,
              Text().find("warning [Disk1] 1: \"..\\..\\WIN.INI\" leads out of the installation "
                          "directory, to C:\\WIN.INI"))
        << Text();
    Lines.clear();
    TextCopy(table[1].DestDir, kEntryDirWidth, "C:\\WINDOWS\\SYSTEM");
    TextCopy(table[1].DestFile, kFileNameWidth, "QXMOUSE.DRV");
    table[1].DestIsAbsolute = 1;
    EXPECT_EQ(1, CheckEntryPlace("[Disk2] 1", table[1], "C:\\WINDOWS\\SYSTEM\\QXMOUSE.DRV"));
    EXPECT_EQ(0u,
              Text().find("note    [Disk2] 1: C:\\WINDOWS\\SYSTEM\\QXMOUSE.DRV is a shared file"))
        << Text();
}

// A destination name the copy cannot create: empty, a character no file name holds, a
// subdirectory that is not there, a directory setup creates. A plain name passes.
TEST_F(CheckRules, DestinationNamesTheCopyCannotCreate) {
    TextCopy(Shared::InstallDir, kDirWidth, "C:\\QORVA");
    TextCopy(Shared::DirTable[1], kDirWidth, "DRIVER");
    int created[kDirKeyCount];
    CheckSubDirs(created);
    TextCopy(table[0].DestDir, kEntryDirWidth, ".");
    const char* const names[] = {"", "A?.TXT", "SUB\\A.TXT", "DRIVER", "DRIVER\\A.TXT"};
    const int expected[] = {0, 0, 0, 0, 1};
    for (int i = 0; i < 5; ++i) {
        TextCopy(table[0].DestFile, kFileNameWidth, names[i]);
        EXPECT_EQ(expected[i], CheckDestName("[Disk1] 1", table[0], "C:\\QORVA\\X", created))
            << names[i];
    }
    EXPECT_EQ(4u, Lines.size()) << Text();
    EXPECT_NE(std::string::npos, Text().find("the destination name \"A?.TXT\" holds \"?\" -- "
                                             "the copying page asks Abort, Retry or Ignore"));
    EXPECT_NE(std::string::npos, Text().find("the destination C:\\QORVA\\X is a directory"));
}

// What the copy does with an entry, in the order it meets the facts, and the plan's line.
TEST(CheckPlan, EntryActionsAndLines) {
    const char* reason;
    EntryFacts f = {1, 0, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(PlanExpand, DecideEntry(f, &reason));
    f.Packed = 0;
    EXPECT_EQ(PlanCopy, DecideEntry(f, &reason));
    f.DataWhole = 0;
    EXPECT_EQ(PlanFail, DecideEntry(f, &reason));
    EXPECT_STREQ(kPlanFailShort, reason);
    f.DestWritable = 0;  // the destination fails before the data
    DecideEntry(f, &reason);
    EXPECT_STREQ(kPlanFailDest, reason);
    f.SourceOpens = 0;  // the source is opened first
    DecideEntry(f, &reason);
    EXPECT_STREQ(kPlanFailSource, reason);
    f.DestFits = 0;  // a path too long is the reason, whatever else fails
    DecideEntry(f, &reason);
    EXPECT_STREQ(kPlanFailTooLong, reason);
    f.DestFits = 1;
    f.HasSource = 0;
    EXPECT_EQ(PlanSkip, DecideEntry(f, &reason));
    EXPECT_STREQ("the line names no source", reason);
    f.NameTooLong = 1;  // a name longer than 14 characters fails, though it names no source
    EXPECT_EQ(PlanFail, DecideEntry(f, &reason));
    EXPECT_STREQ(kPlanFailNameTooLong, reason);
    char line[24];
    const char* fields[] = {"entry", "A\tB", "C:\\LONGER"};
    PlanLine(line, sizeof(line), fields, 3);
    EXPECT_STREQ("entry\tA?B\tC:\\LONGER", line);
    PlanLine(line, 8, fields, 3);
    EXPECT_STREQ("entry\tA", line);
}

// A description beyond the 127 characters that the loader reads of its line is reported
// with its own length, and so is a value longer than the raw reads.
TEST_F(CheckRules, LengthsAreTheValuesOwn) {
    std::string line = "A.TXT, A.TXT, " + std::string(130, 'd') + ", RootDir";
    TextCopy(ScriptNames.DirKey[0], kNameWidth, "RootDir");
    CheckFileLine("[Disk1] 1", line.c_str(), 1);
    EXPECT_NE(std::string::npos, Text().find("warning [Disk1] 1: 130 characters, more than 61"))
        << Text();
    Lines.clear();
    CheckText("[Startup] Title", "abc", kTitleWidth, 5000);
    EXPECT_EQ(0u, Text().find("warning [Startup] Title: 5000 characters, more than 79")) << Text();
}

TEST_F(CheckRules, KeysNeverReadWithTheKeyTheyProbablyMean) {
    const KnownKey known[] = {{"PS2Name", "empty"}, {"SeialName", "empty: no description"}};
    EXPECT_EQ(1, NearestKey("SerialName", known, 2));
    EXPECT_EQ(1, NearestKey("seailname", known, 2));  // case aside, two letters swapped
    EXPECT_EQ(-1, NearestKey("Vendor", known, 2));
    CheckSectionKeys("Startup", "SerialName\0ps2name\0Vendor\0", known, 2);
    EXPECT_EQ(
        "error   [Startup] SerialName: SerialName is no key that SETUP.EXE reads: it probably "
        "means SeialName, which the section lacks -- SETUP.EXE never reads it and takes "
        "SeialName as empty: no description\n"
        "warning [Startup] Vendor: Vendor is no key that SETUP.EXE reads -- SETUP.EXE never "
        "reads it\n",
        Text());
    Lines.clear();
    // Beside the key it would mean, a near name is only never read.
    CheckSectionKeys("Startup", "PS2Nam\0PS2Name\0", known, 2);
    EXPECT_EQ(0u, Text().find("warning [Startup] PS2Nam: PS2Nam is no key")) << Text();
}

TEST_F(CheckRules, StartupFilesInstalledAndInfSectionsPresent) {
    Shared::DiskSet.DiskCount = 1;
    Shared::DiskSet.Disk[0].FileCount = 2;
    TextCopy(table[0].SourceFile, kFileNameWidth, "QXMOUSE.DR_");
    TextCopy(table[0].DestFile, kFileNameWidth, "QXMOUSE.DRV");
    TextCopy(table[1].SourceFile, kFileNameWidth, "ZXMOUSE.IN_");
    TextCopy(table[1].DestFile, kFileNameWidth, "ZXMOUSE.INF");
    EXPECT_EQ(1, EntryInstalling("zxmouse.inf"));
    CheckProfileFileInstalled("[Startup] MouseDriver", "MouseDriver", "qxmouse.drv");
    CheckProfileFileInstalled("[Startup] MouseDriver", "MouseDriver", "");
    EXPECT_EQ("", Text());
    CheckProfileFileInstalled("[Startup] MouseDriver", "MouseDriver", "ZXMOUSE.DRV");
    EXPECT_EQ(
        "error   [Startup] MouseDriver: no file line installs ZXMOUSE.DRV -- the driver class "
        "key's MouseDriver names a file that the package does not put on the machine\n",
        Text());
    Lines.clear();
    const char inf[] = "[Version]\r\n  [ ZXps2 ] \r\n; [ZXSERIAL]\r\nx=[ZXSERIAL]\n[ZXSERIALX]";
    EXPECT_EQ(1, InfHasSection(inf, "zxPS2"));
    CheckInfSection("[Startup] PS2InfSection", "ZXPS2", "ZXMOUSE.INF", inf);
    CheckInfSection("[Startup] SerialInfSection", "ZXSERIAL", "ZXMOUSE.INF", inf);
    EXPECT_EQ(
        "error   [Startup] SerialInfSection: the INF file ZXMOUSE.INF that the package "
        "installs has no section [ZXSERIAL] -- the driver class key's InfSection names a "
        "section that is not there\n",
        Text());
}

}  // namespace
