// PatchSystemIni on real files: the settings file and its backup, and the VxD set-aside.
#include <gtest/gtest.h>

#include <string>

#include "install/systemini.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

namespace {

const std::string kIni =
    "[boot]\r\nmouse.drv=mouse.drv\r\n\r\n[386Enh]\r\nebios=*ebios\r\n;mouse=old\r\n"
    "mouse=*vmd,msmouse.vxd\r\ndevice=*vcd\r\n[drivers]\r\nwave=x\r\n";
const std::string kPatched =
    "[boot]\r\nmouse.drv=mouse.drv\r\n\r\n[386Enh]\r\nebios=*ebios\r\n;mouse=old\r\n"
    "mouse=*vmouse\r\ndevice=*vcd\r\n[drivers]\r\nwave=x\r\n";

std::string SystemDir() {
    char b[MAX_PATH];
    GetSystemDirectoryA(b, MAX_PATH);
    return b;
}

class SystemIni : public ::testing::Test {
  protected:
    std::string win, ini, bak, fresh, vmm32, vxd, vxdBak;
    void SetUp() override {
        win = MakeScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        TextCopy(Shared::WindowsDir, kDirWidth, win.c_str());
        ini = win + "\\system.ini";
        bak = win + "\\system.bak";
        fresh = win + "\\system.new";
        vmm32 = SystemDir() + "\\VMM32";
        vxd = vmm32 + "\\VMOUSE.VXD";
        vxdBak = vmm32 + "\\VMOUSE.BAK";
        CreateDirectoryA(vmm32.c_str(), nullptr);
        RemoveTree(vxdBak);
        DeleteFileA(vxd.c_str());
    }
};

// A switch killed between its renames left system.ini missing: the file it replaced, now
// system.bak, takes the name again; with system.ini there, nothing changes.
TEST_F(SystemIni, ASwitchCutShortBetweenItsRenamesIsFinishedBackwards) {
    WriteFileBytes(bak, kIni);
    WriteFileBytes(fresh, kPatched);
    EXPECT_EQ(1, FinishInterruptedSwitch());
    EXPECT_EQ(kIni, ReadFileBytes(ini));
    EXPECT_FALSE(FileExists(bak));
    EXPECT_FALSE(FileExists(fresh));
    WriteFileBytes(bak, "older");
    EXPECT_EQ(0, FinishInterruptedSwitch());
    EXPECT_EQ(kIni, ReadFileBytes(ini));
    EXPECT_EQ("older", ReadFileBytes(bak));
}

TEST_F(SystemIni, PatchesKeepsTheOldFileAndSetsTheVxdAside) {
    WriteFileBytes(ini, kIni);
    WriteFileBytes(vxd, "MZ vxd");
    EXPECT_EQ(0, PatchSystemIni());
    EXPECT_EQ(kPatched, ReadFileBytes(ini));
    EXPECT_EQ(kIni, ReadFileBytes(bak));
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_FALSE(FileExists(vxd));
    EXPECT_EQ("MZ vxd", ReadFileBytes(vxdBak));

    // A second run: the backup becomes what the first run wrote; an old VMOUSE.BAK is replaced.
    WriteFileBytes(vxd, "MZ newer vxd");
    EXPECT_EQ(0, PatchSystemIni());
    EXPECT_EQ(kPatched, ReadFileBytes(ini));
    EXPECT_EQ(kPatched, ReadFileBytes(bak));
    EXPECT_EQ("MZ newer vxd", ReadFileBytes(vxdBak));
}

TEST_F(SystemIni, LineEndsAndCtrlZOfTheRuntimesTextMode) {
    WriteFileBytes(ini,
                   "[386Enh]\nmouse=*vmd\nlast=1\x1A"
                   "junk\r\n");
    PatchSystemIni();
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\nlast=1", ReadFileBytes(ini));
    EXPECT_EQ(
        "[386Enh]\nmouse=*vmd\nlast=1\x1A"
        "junk\r\n",
        ReadFileBytes(bak));
}

TEST_F(SystemIni, WithoutASystemIniNothingIsRenamed) {
    WriteFileBytes(bak, "an older backup");
    PatchSystemIni();
    EXPECT_FALSE(FileExists(ini));
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ("an older backup", ReadFileBytes(bak));
}

TEST_F(SystemIni, AnUnreadableSystemIniIsLeftInPlace) {
    CreateDirectoryA(ini.c_str(), nullptr);  // cannot be opened as a file
    WriteFileBytes(bak, "an older backup");
    PatchSystemIni();
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ("an older backup", ReadFileBytes(bak));
}

TEST_F(SystemIni, WhenSystemNewCannotBeCreatedNothingChanges) {
    WriteFileBytes(ini, kIni);
    WriteFileBytes(bak, "an older backup");
    CreateDirectoryA(fresh.c_str(), nullptr);
    PatchSystemIni();
    EXPECT_EQ(kIni, ReadFileBytes(ini));
    EXPECT_EQ("an older backup", ReadFileBytes(bak));
}

// Wine refuses to delete a read-only file even for root (it checks the attribute itself),
// so a read-only backup behaves here as on Windows 98.
TEST_F(SystemIni, AReadOnlyBackupKeepsSystemIniAsItWas) {
    WriteFileBytes(ini, kIni);
    WriteFileBytes(bak, "a protected backup");
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_FALSE(DeleteFileA(bak.c_str())) << "the read-only backup must resist deletion";
    PatchSystemIni();
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(kIni, ReadFileBytes(ini));
    EXPECT_EQ("a protected backup", ReadFileBytes(bak));
    EXPECT_EQ(kPatched, ReadFileBytes(fresh));  // left beside it
}

// The last rename fails (system.new is a mount point, which Linux never renames): the old
// file is moved back, and Windows keeps its settings file.
TEST_F(SystemIni, AFailedFinalRenameMovesTheBackupBack) {
    WriteFileBytes(ini, kIni);
    WriteFileBytes(fresh, "");
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string target =
        "\"${VM_PREFIX:-$WINEPREFIX}/drive_c/tests/" + name + "/system.new\"";
    const std::string source = ShellQuote(HostScratchDir() + "/bound-system.new");
    if (RunHostCommand("touch " + source + " && mount --bind " + source + " " + target) != 0)
        GTEST_SKIP() << "needs mount (root)";
    PatchSystemIni();
    RunHostCommand("umount " + target + "; rm -f " + source);
    EXPECT_EQ(kIni, ReadFileBytes(ini));
    EXPECT_FALSE(FileExists(bak));
}

TEST_F(SystemIni, VxdCases) {
    WriteFileBytes(ini, kIni);
    // No VMOUSE.VXD: -1, and an existing VMOUSE.BAK is kept.
    WriteFileBytes(vxdBak, "the only copy");
    EXPECT_EQ(-1, PatchSystemIni());
    EXPECT_EQ("the only copy", ReadFileBytes(vxdBak));
    EXPECT_FALSE(FileExists(vxd));

    // A VMOUSE.BAK that cannot be removed: the VxD stays where it is.
    DeleteFileA(vxdBak.c_str());
    CreateDirectoryA(vxdBak.c_str(), nullptr);
    WriteFileBytes(vxd, "MZ vxd");
    EXPECT_EQ(-1, PatchSystemIni());
    EXPECT_EQ("MZ vxd", ReadFileBytes(vxd));
    RemoveDirectoryA(vxdBak.c_str());

    // Neither file: -1, nothing appears.
    DeleteFileA(vxd.c_str());
    EXPECT_EQ(-1, PatchSystemIni());
    EXPECT_FALSE(FileExists(vxdBak));
}

}  // namespace
