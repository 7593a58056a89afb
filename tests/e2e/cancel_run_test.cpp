// Cancelling a whole run of SETUP.EXE: on the first three pages nothing is installed and
// the machine stays as it was; during copying the file under way is finished, the
// registration still runs, the notice shows, and system.ini is left alone.
#include <gtest/gtest.h>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/uninstall_run.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const char kDevicePs2[] = "Enum\\BIOS\\*PNP0F13\\0000";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kNotice[] = "Qorva Mouse installation is not completed !";

class CancelRun : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetMachine();
        SeedOtherDevices();
        SeedPs2Mouse();
        systemIniBefore = ReadFileBytes(WindowsPath() + "\\system.ini");
    }
    void TearDown() override {
        StopProgram(setup);
        StopProgram(companion);
    }

    // Confirms the cancel notice owned by page; the program then ends with code 0.
    void ConfirmNotice(HWND page) {
        HWND box = WaitForMessageBox(page, 0, 15000);
        ASSERT_NE(nullptr, box) << "no cancel notice";
        EXPECT_EQ(kNotice, MessageBoxText(box));
        EXPECT_TRUE(ClickItem(box, IDOK));
        EXPECT_EQ(0u, WaitProgramEnd(setup, 15000));
        EXPECT_EQ(nullptr, FindTopWindow("SETUP_END", nullptr));
    }

    void ExpectSystemIniUntouched(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        EXPECT_EQ(systemIniBefore, ReadFileBytes(WindowsPath() + "\\system.ini"));
        EXPECT_FALSE(FileExists(WindowsPath() + "\\system.bak"));
        EXPECT_TRUE(FileExists(VmouseDir() + "\\VMOUSE.VXD"));
        EXPECT_FALSE(FileExists(VmouseDir() + "\\VMOUSE.BAK"));
    }

    std::string systemIniBefore;
    RunningProgram setup;
    RunningProgram companion;
};

// Cancel on the welcome, mouse and destination pages, each in a run of its own.
TEST_F(CancelRun, CancelBeforeCopyingChangesNothing) {
    std::string exe = MakeSamplePackage("SAMPLE");
    ASSERT_FALSE(exe.empty());
    companion = StartProgram(ToolPath("qxmain.exe"));
    ASSERT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", companion.id, 10000));

    const char* const pages[] = {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR"};
    for (const char* last : pages) {
        SCOPED_TRACE(last);
        setup = StartProgram(exe);
        ASSERT_NE(nullptr, setup.process);
        HWND page = WalkTo(last);
        ASSERT_NE(nullptr, page) << "the walk to " << last << " stopped";
        EXPECT_TRUE(ClickItem(page, IDC_CANCEL));
        ConfirmNotice(page);
        StopProgram(setup);

        EXPECT_FALSE(FileExists("C:\\QORVA"));
        EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kRunKey, "Quillotrax"));
        EXPECT_EQ("Standard PS/2 Port Mouse",
                  ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
        ExpectSystemIniUntouched(__LINE__);
        // The companion is asked to close only when the user moves on to copying.
        EXPECT_EQ(STILL_ACTIVE, WaitProgramEnd(companion, 0));
    }
}

// A package of many packed files, cancelled with a real click while it copies.
TEST_F(CancelRun, CancelWhileCopyingFinishesTheFileAndStillRegisters) {
    const int kFiles = 300;
    std::string inf =
        "[Main]\r\nDefaultPath=C:\\QORVA\r\nProductName=Qorva Mouse\r\nMinimumSpace=1\r\n"
        "OEM=0\r\nDefaultSerialMouse=0\r\n"
        "[DiskLabel]\r\nDisk1=Data files\r\n"
        "[DirectoryName]\r\nRootDir=.\r\nSubDir1=DATA\r\n"
        "[FileCounts]\r\nDisk1=" +
        std::to_string(kFiles) + "\r\n[Disk1]\r\n";
    for (int i = 1; i <= kFiles; ++i) {
        char line[96];
        wsprintfA(line, "%d=F%03d.BI_, F%03d.BIN, Data file %d, SubDir1\r\n", i, i, i, i);
        inf += line;
    }
    inf +=
        "[Startup]\r\nTitle=Qorva Mouse Driver\r\nMfg=Qorva\r\nMouseDriver=QXMOUSE.DRV\r\n"
        "MouseInf=QXMOUSE.INF\r\nDriverDate=12-07-2026\r\nPS2InfSection=QXPS2\r\n"
        "SerialInfSection=QXSERIAL\r\nPS2Name=Qorva PS/2 Mouse\r\n"
        "SeialName=Qorva Serial Mouse\r\n";
    std::string exe = MakeTestPackage("bigpackage", inf);
    ASSERT_FALSE(exe.empty());
    // One text of some 230 KB, packed once and laid out under every name.
    std::string dir = EnvText("VM_PREFIX") + "/drive_c/tests/bigpackage";
    ASSERT_EQ(
        0, RunHostCommand("cd " + ShellQuote(dir) +
                              " && mkdir DATA && seq 1 40000 > ORIGINAL.TXT"
                              " && mscompress ORIGINAL.TXT >/dev/null"
                              " && for i in $(seq -w 1 " +
                              std::to_string(kFiles) + "); do cp ORIGINAL.TXT_ DATA/F$i.BI_; done",
                          60000));
    const std::string original = ReadFileBytes("C:\\tests\\bigpackage\\ORIGINAL.TXT");
    ASSERT_GT(original.size(), 200000u);

    setup = StartProgram(exe);
    ASSERT_NE(nullptr, setup.process);
    HWND destination = WalkTo("SETUP_SELDIR");
    ASSERT_NE(nullptr, destination) << "the walk to the destination page stopped";
    ClickItem(destination, IDC_NEXT);
    ASSERT_TRUE(WaitWindowGone(destination, 10000));
    HWND install = WaitForTopWindow("SETUP_INSTALL", nullptr, setup.id, 20000);
    ASSERT_NE(nullptr, install);
    ASSERT_TRUE(WaitUntil([&] { return GetDlgItem(install, IDC_NEXT) != nullptr; }));
    EXPECT_TRUE(MouseClickItem(install, IDC_NEXT));  // the page's Cancel button
    ConfirmNotice(install);

    // Copying stopped between two files: the first n are whole, the rest never started.
    int copied = 0;
    while (copied < kFiles) {
        char name[64];
        wsprintfA(name, "C:\\QORVA\\DATA\\F%03d.BIN", copied + 1);
        if (!FileExists(name)) break;
        EXPECT_EQ(original, ReadFileBytes(name)) << name << " is not whole";
        ++copied;
    }
    EXPECT_GT(copied, 0);
    EXPECT_LT(copied, kFiles) << "copying ended before the cancel arrived";
    for (int i = copied + 1; i <= kFiles; ++i) {
        char name[64];
        wsprintfA(name, "C:\\QORVA\\DATA\\F%03d.BIN", i);
        EXPECT_FALSE(FileExists(name)) << name;
    }
    // The registration ran all the same.
    EXPECT_EQ("C:\\QORVA\\QXMAIN.EXE -startup",
              ReadText(HKEY_LOCAL_MACHINE, kRunKey, "Quillotrax"));
    EXPECT_EQ("Qorva PS/2 Mouse", ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
    EXPECT_EQ("Standard PS/2 Port Mouse",
              ProfileValue("C:\\QORVA\\SETUP.INF", "PS2", "DeviceDesc"));
    ExpectSystemIniUntouched(__LINE__);

    // The uninstaller, put beside what was copied, takes the part-way registration back from
    // the journal (this script lists no file of its own: no file is its to remove).
    ASSERT_TRUE(CopyFileA(UninstallerUnderTest().c_str(), "C:\\QORVA\\UNINSTAL.EXE", FALSE));
    EXPECT_EQ(0u, RunUninstaller("C:\\QORVA\\UNINSTAL.EXE", IDYES));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kRunKey, "Quillotrax"));
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
    ExpectSystemIniUntouched(__LINE__);
}

}  // namespace
