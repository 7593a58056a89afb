// The uninstaller's decisions: the mouse line it writes back, where its lines go in
// wininit.ini, which journal keys it trusts, and how it reads the install record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/logrules.h"
#include "uninstall/madeset.h"
#include "install/recordlines.h"
#include "uninstall/journalkeys.h"
#include "uninstall/mouseline.h"
#include "install/wininitrule.h"

namespace {

std::string Restored(const char* backupLine, int width = 128) {
    char out[256] = "junk";
    int ok = RestoredMouseLine(out, width, backupLine);
    return ok ? std::string(out) : "<" + std::string(out) + ">";
}

TEST(UninstallMouseLine, TheBackupLineOrWindowsOwnAfterASecondInstallation) {
    EXPECT_EQ("mouse=*vmd\n", Restored("mouse=*vmd\n"));
    EXPECT_EQ("mouse=*vmd, msmouse.vxd\n", Restored("mouse=*vmd, msmouse.vxd"));  // last line
    EXPECT_EQ("mouse=*vmouse, msmouse.vxd\n", Restored("mouse=*vmouse\n"));
    EXPECT_EQ("mouse=*vmouse, msmouse.vxd\n", Restored("mouse=*vmouse"));
    EXPECT_EQ("mouse=*vmouse, other.vxd\n", Restored("mouse=*vmouse, other.vxd\n"));
    EXPECT_EQ("<>", Restored("mouse=*vmd", 11));  // no room for the line feed: nothing
    EXPECT_EQ("mouse=*vmd\n", Restored("mouse=*vmd", 12));
}

// wininit.ini bytes in (as lines read), the copy with "NUL=X" placed, out.
std::string Queue(const std::vector<std::string>& pieces) {
    RenameRule rule = {0, 0};
    std::string out;
    for (const std::string& p : pieces) {
        out += p;
        if (RenameRuleInsertAfter(&rule, p.data(), static_cast<int>(p.size()))) out += "NUL=X\n";
    }
    if (!rule.inserted) out += std::string(rule.lineGoesOn ? "\n" : "") + "[rename]\nNUL=X\n";
    return out;
}

TEST(UninstallWininit, LinesGoAfterTheRenameHeaderOrIntoANewSection) {
    EXPECT_EQ("[rename]\nNUL=X\n", Queue({}));
    EXPECT_EQ("[x]\na=b\n[rename]\nNUL=X\n", Queue({"[x]\n", "a=b\n"}));
    EXPECT_EQ("a=b\n[rename]\nNUL=X\n", Queue({"a=b"}));  // a last line without LF
    EXPECT_EQ("[x]\n  [Rename]\nNUL=X\nNUL=A\n[y]\n[rename]\n",
              Queue({"[x]\n", "  [Rename]\n", "NUL=A\n", "[y]\n", "[rename]\n"}));
    // "[rename]" in the middle of a long line's later piece is no header.
    EXPECT_EQ("x=[rename]\n[rename]\nNUL=X\n", Queue({"x=", "[rename]\n"}));
    char line[16];
    EXPECT_EQ(1, RenameDeleteLine(line, 16, "C:\\Q\\U.EXE"));
    EXPECT_STREQ("NUL=C:\\Q\\U.EXE\n", line);
    EXPECT_EQ(0, RenameDeleteLine(line, 15, "C:\\Q\\U.EXE"));
    EXPECT_STREQ("", line);
    char plain[64];
    RenameDeleteLine(plain, 64, "C:\\Q\\.\\A\\\\U.EXE");  // what a RootDir "." gives
    EXPECT_STREQ("NUL=C:\\Q\\A\\U.EXE\n", plain);
    RenameDeleteLine(plain, 64, "C:\\Q\\.");
    EXPECT_STREQ("NUL=C:\\Q\n", plain);
    RenameDeleteLine(plain, 64, "C:\\Q\\..\\.X");
    EXPECT_STREQ("NUL=C:\\Q\\..\\.X\n", plain);
    // A file in use replaced at the next start: target first, the whole new file second.
    EXPECT_EQ(1, RenameReplaceLine(plain, 64, "C:\\Q\\.\\A.DLL", "C:\\Q\\\\~SU1.TMP"));
    EXPECT_STREQ("C:\\Q\\A.DLL=C:\\Q\\~SU1.TMP\n", plain);
    EXPECT_EQ(0, RenameReplaceLine(plain, 20, "C:\\Q\\A.DLL", "C:\\Q\\~SU1.TMP"));
    EXPECT_STREQ("", plain);
}

TEST(UninstallJournalKeys, OnlyDeviceKeysBelowEnumAndNumberedMouseClassKeys) {
    EXPECT_EQ(1, TrustedDeviceKey("Enum\\BIOS\\*PNP0F13\\0000"));
    EXPECT_EQ(1, TrustedDeviceKey("ENUM\\Root\\QorvaMouse\\0000"));
    EXPECT_EQ(0, TrustedDeviceKey("Enum\\"));
    EXPECT_EQ(0, TrustedDeviceKey("Enumerator\\X"));
    EXPECT_EQ(0, TrustedDeviceKey("Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_EQ(1, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Mouse\\0000"));
    EXPECT_EQ(1, TrustedClassKey("SYSTEM\\currentcontrolset\\Services\\Class\\MOUSE\\12"));
    EXPECT_EQ(0, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Display"));
    EXPECT_EQ(0, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Display\\0000"));
    EXPECT_EQ(0, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Mouse\\"));
    EXPECT_EQ(0, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Mouse\\0000\\X"));
    EXPECT_EQ(0, TrustedClassKey("System\\CurrentControlSet\\Services\\Class\\Mouse"));
}

TEST(InstallRecordLines, WrittenReadBackAndLookedUp) {
    char line[40];
    EXPECT_EQ(1, MakeRecordLine(line, sizeof(line), "C:\\QORVA\\QXMAIN.EXE", RecordNew));
    EXPECT_STREQ("C:\\QORVA\\QXMAIN.EXE=New", line);
    // What could not be read back as a key, or does not fit, is no line.
    EXPECT_EQ(0, MakeRecordLine(line, sizeof(line), "C:\\A=B.TXT", RecordNew));
    EXPECT_EQ(0, MakeRecordLine(line, sizeof(line), ";C:\\X", RecordNew));
    EXPECT_EQ(0, MakeRecordLine(line, sizeof(line), "C:\\X ", RecordNew));
    EXPECT_EQ(0, MakeRecordLine(line, 10, "C:\\QORVA\\X", RecordDir));
    EXPECT_STREQ("", line);

    const char block[] =
        "Directory=C:\\QORVA\0C:\\QORVA=Dir\0C:\\QORVA\\A.TXT=old\0"
        "C:\\WINDOWS\\SYSTEM\\Q.DRV=Shared\0C:\\X=Gone\0noequals\0";
    std::vector<std::string> seen;
    for (const char* l = block; l != nullptr; l = NextRecordLine(l)) {
        char key[40];
        RecordKind kind = SplitRecordLine(l, key, sizeof(key));
        seen.push_back(std::string(key) + "|" + RecordWord(kind));
    }
    EXPECT_EQ((std::vector<std::string>{"|", "C:\\QORVA|Dir", "C:\\QORVA\\A.TXT|Old",
                                        "C:\\WINDOWS\\SYSTEM\\Q.DRV|Shared", "|", "|"}),
              seen);
    char dir[40];
    EXPECT_EQ(1, RecordDirectory(block, dir, sizeof(dir)));
    EXPECT_STREQ("C:\\QORVA", dir);
    EXPECT_EQ(0, RecordDirectory("C:\\QORVA=Dir\0", dir, sizeof(dir)));
    EXPECT_EQ(1, RecordHolds(block, "c:\\qorva\\a.txt"));
    EXPECT_EQ(1, RecordHolds(block, "C:\\QORVA\\\\A.TXT"));
    EXPECT_EQ(0, RecordHolds(block, "C:\\X"));  // no kind it knows
    EXPECT_EQ(0, RecordHolds(block, "C:\\QORVA\\B.TXT"));
}

// The install log's bytes as a block, as the uninstaller and the undo read it.
std::vector<char> LogBlock(const std::string& bytes) {
    std::vector<char> block(bytes.begin(), bytes.end());
    block.resize(bytes.size() + 2);
    LogBlockFromBytes(block.data(), static_cast<long>(bytes.size()));
    return block;
}

TEST(InstallLogLines, MadeSplitAndATornLastLineIgnored) {
    char line[64];
    EXPECT_EQ(1, MakeLogLine(line, sizeof(line), LogNew, "C:\\Q\\A.EXE", "C:\\Q\\~SUWORK\\T1.TMP"));
    EXPECT_STREQ("New C:\\Q\\A.EXE|C:\\Q\\~SUWORK\\T1.TMP\r\n", line);
    EXPECT_EQ(1, MakeLogLine(line, sizeof(line), LogMouse, "mouse=*vmd | x"));  // one part: any text
    EXPECT_EQ(1, MakeLogLine(line, sizeof(line), LogDone));
    EXPECT_STREQ("Done\r\n", line);
    // A line break would start a line of its own; a line that does not fit is none.
    EXPECT_EQ(0, MakeLogLine(line, sizeof(line), LogDir, "C:\\Q\r\nDone"));
    EXPECT_EQ(0, MakeLogLine(line, 12, LogDir, "C:\\QORVA\\HELP"));
    EXPECT_STREQ("", line);

    std::vector<char> block = LogBlock(
        "Directory C:\\Q\r\nRun\n\r\nMouse mouse=*vmd | x\r\nShared C:\\W\\A.DRV|-\r\n"
        "Bogus C:\\X\r\nNew C:\\Q\\TORN.TXT|C:\\Q\\~SU");
    std::vector<std::string> seen;
    for (const char* l = block.data(); l != nullptr; l = NextLogLine(l)) {
        char a[32], b[32];
        LogWord w = SplitLogLine(l, a, sizeof(a), b, sizeof(b));
        seen.push_back(std::to_string(w) + " " + a + "|" + b);
    }
    EXPECT_EQ((std::vector<std::string>{"1 C:\\Q|", "2 |", "12 mouse=*vmd | x|",
                                        "9 C:\\W\\A.DRV|-", "0 |"}),
              seen);
    char small[4];
    EXPECT_EQ(LogNone, SplitLogLine("Dir C:\\QORVA", small, sizeof(small)));
    EXPECT_EQ(0, LogBlock("")[0]);
    EXPECT_EQ(0, LogBlock("Run")[0]);  // all torn
}

TEST(InstallLogLines, TheOpenRunAndTheLineThatDecidesAPath) {
    std::vector<char> block = LogBlock(
        "Directory C:\\Q\r\nRun\r\nNew C:\\Q\\A|T1\r\nDone\r\nRun\r\n"
        "New C:\\Q\\A|T2\r\nKeep C:\\Q\\A|K1\r\nNew C:\\Q\\B|T3\r\nDrop C:\\Q\\B\r\n"
        "New C:\\Q\\C|T4\r\nShared C:\\Q\\C|-\r\n");
    const char* open = OpenRun(block.data());
    ASSERT_NE(nullptr, open);
    EXPECT_STREQ("Run", open);
    EXPECT_EQ(0, RunCommitted(open));
    EXPECT_EQ(1, RunCommitted(NextLogLine(block.data())));
    std::vector<int> decides;
    for (const char* l = NextLogLine(open); l != nullptr; l = NextLogLine(l))
        decides.push_back(LineDecides(l));
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1, 1, 1}), decides);
    // Two entries with one destination: each entry's step decides, so that both are undone.
    decides.clear();
    block = LogBlock("New C:\\Q\\A|T1\r\nNew C:\\Q\\A|T2\r\nKeep C:\\Q\\A|K2\r\n"
                     "Keep C:\\Q\\B|K3\r\nKeep C:\\Q\\B|K4\r\nDrop C:\\Q\\B\r\n"
                     "New C:\\Q\\C|T5\r\nQueue C:\\Q\\C|B5\r\n");
    for (const char* l = block.data(); l != nullptr; l = NextLogLine(l))
        decides.push_back(LineDecides(l));
    EXPECT_EQ((std::vector<int>{1, 0, 1, 1, 0, 1, 0, 1}), decides);
    // Made at its name: the Make decides only while no New or Drop of that entry follows; a
    // second entry's Make that found the first one's file goes the long way.
    decides.clear();
    block = LogBlock("Make C:\\Q\\A\r\nNew C:\\Q\\A\r\nMake C:\\Q\\A\r\nDrop C:\\Q\\A\r\n"
                     "New C:\\Q\\A|T2\r\nKeep C:\\Q\\A|K2\r\nMake C:\\Q\\B\r\nMake C:\\Q\\C\r\n");
    for (const char* l = block.data(); l != nullptr; l = NextLogLine(l))
        decides.push_back(LineDecides(l));
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1, 0, 1, 1, 1}), decides);
    EXPECT_EQ(nullptr, OpenRun(LogBlock("Run\r\nDone\r\nRegistry\r\n").data()));
    EXPECT_EQ(nullptr, OpenRun(LogBlock("Run\r\nUndone\r\n").data()));
}

TEST(InstallLogLines, TheFirstCompletedRunKeepsItsWordForEachPath) {
    std::vector<char> block = LogBlock(
        "Directory C:\\Q\r\n"
        "Run\r\nDir C:\\Q\r\nNew C:\\Q\\A|T\r\nNew C:\\Q\\OLD|T\r\nKeep C:\\Q\\OLD|K\r\n"
        "New C:\\W\\S.DRV|T\r\nShared C:\\W\\S.DRV|-\r\nNew C:\\Q\\RO|T\r\nDrop C:\\Q\\RO\r\n"
        "Done\r\nMouse mouse=*vmd\r\nSysBak New\r\n"
        // a reinstall: A stood there now, but the first installation made it
        "Run\r\nNew C:\\Q\\A|T\r\nKeep C:\\Q\\A|K\r\nNew C:\\Q\\B|T\r\nDone\r\nSysBak Old\r\n"
        // killed: its lines are no installation's
        "Run\r\nDir C:\\Q\\LATE\r\nNew C:\\Q\\C|T\r\n");
    std::vector<char> arena(MadeSetArenaBytes(static_cast<long>(block.size()), 24));
    std::vector<long> slots(MadeSetSlotCount(24));
    MadeSet set = {arena.data(), static_cast<long>(arena.size()), 0, slots.data(),
                   static_cast<long>(slots.size()), 0};
    MadeSetNote(&set, "C:\\Q\\FROMRECORD", MadeNew, 0);  // an older record comes first
    ASSERT_EQ(1, NoteCommittedRuns(&set, block.data(), 1));
    std::vector<std::string> made;
    long at = 0;
    MadeKind kind;
    for (const char* p; (p = MadeSetNext(&set, &at, &kind)) != nullptr;)
        made.push_back(std::to_string(kind) + " " + p);
    EXPECT_EQ((std::vector<std::string>{"2 C:\\Q\\FROMRECORD", "1 C:\\Q", "2 C:\\Q\\A",
                                        "3 C:\\Q\\OLD", "4 C:\\W\\S.DRV", "2 C:\\Q\\B"}),
              made);
    EXPECT_EQ(MadeNew, MadeSetFind(&set, "c:\\q\\a"));
    EXPECT_EQ(MadeNone, MadeSetFind(&set, "C:\\Q\\RO"));
    char line[32];
    EXPECT_EQ(1, CommittedLine(block.data(), LogMouse, line, sizeof(line)));
    EXPECT_STREQ("mouse=*vmd", line);
    EXPECT_EQ(1, CommittedLine(block.data(), LogSysBak, line, sizeof(line)));
    EXPECT_STREQ("New", line);  // the first installation's word
    EXPECT_EQ(0, CommittedLine(block.data(), LogVxd));

    // A set that runs full says so rather than losing a path without a word.
    MadeSet tiny = {arena.data(), 40, 0, slots.data(), 4, 0};
    for (long i = 0; i < 4; ++i) std::fill(slots.begin(), slots.end(), 0);
    EXPECT_EQ(0, NoteCommittedRuns(&tiny, block.data(), 1));
}

}  // namespace
