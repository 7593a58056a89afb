// The uninstaller's decisions: the mouse line it writes back, where its lines go in
// wininit.ini, which journal keys it trusts, and how it reads the install record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
