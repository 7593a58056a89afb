// Cancelling a whole run of SETUP.EXE: on the first three pages nothing is installed and
// the machine stays as it was; during copying the file under way is finished, then the
// run is put back: nothing it copied stays, nothing is registered, system.ini is left alone.
#include <gtest/gtest.h>

#include "resource.h"
#include "support/install_page.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/uninstall_run.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectSystemIniUntouched() ExpectSystemIniUntouched_(__LINE__)

namespace {

const char kDevicePs2[] = "Enum\\BIOS\\*PNP0F13\\0000";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kNotice[] = "Qorva Mouse installation is not completed !";
const char kStartup[] =
    "[Startup]\r\nTitle=Qorva Mouse Driver\r\nMfg=Qorva\r\nMouseDriver=QXMOUSE.DRV\r\n"
    "MouseInf=QXMOUSE.INF\r\nDriverDate=12-07-2026\r\nPS2InfSection=QXPS2\r\n"
    "SerialInfSection=QXSERIAL\r\nPS2Name=Qorva PS/2 Mouse\r\nSeialName=Qorva Serial Mouse\r\n";

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
        if (smallDrive) UnmountSmallDrive();
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

    void ExpectSystemIniUntouched_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        EXPECT_EQ(systemIniBefore, ReadFileBytes(WindowsPath() + "\\system.ini"));
        EXPECT_FALSE(FileExists(WindowsPath() + "\\system.bak"));
        EXPECT_TRUE(FileExists(VmouseDir() + "\\VMOUSE.VXD"));
        EXPECT_FALSE(FileExists(VmouseDir() + "\\VMOUSE.BAK"));
    }

    std::string systemIniBefore;
    RunningProgram setup;
    RunningProgram companion;
    bool smallDrive = false;  // drive E: is mounted (MountSmallDrive)
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
        ExpectSystemIniUntouched();
        // The companion is asked to close only when the user moves on to copying.
        EXPECT_EQ(STILL_ACTIVE, WaitProgramEnd(companion, 0));
    }
}

// A package of many packed files, cancelled with a real click while it copies.
TEST_F(CancelRun, CancelWhileCopyingPutsTheRunBack) {
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
    inf += kStartup;
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

    // The run is put back: what it copied goes with the directory it made, nothing is
    // registered, and the journal was never written.
    EXPECT_FALSE(FileExists("C:\\QORVA"));
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, kRunKey, "Quillotrax"));
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
    ExpectSystemIniUntouched();
}

// A package of one disk, one line per "source, destination".
std::string FailurePackage(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string inf =
        "[Main]\r\nDefaultPath=C:\\QORVA\r\nProductName=Qorva Mouse\r\nMinimumSpace=1\r\nOEM=0\r\n"
        "DefaultSerialMouse=0\r\n[DiskLabel]\r\nDisk1=Files\r\n"
        "[DirectoryName]\r\nRootDir=.\r\n[FileCounts]\r\nDisk1=" +
        std::to_string(files.size()) + "\r\n[Disk1]\r\n";
    for (size_t i = 0; i < files.size(); ++i)
        inf += std::to_string(i + 1) + "=" + files[i].first + ", " + files[i].second +
               ", File, RootDir\r\n";
    return MakeTestPackage("failures", inf + kStartup);
}

// Walks setup to the copying page, installing into dest, and waits for the box that asks
// about a failed entry, which it returns with its text in text.
HWND FailureBox(RunningProgram& setup, const std::string& exe, const char* dest,
                std::string* text) {
    setup = StartProgram(exe);
    HWND destination = WalkTo("SETUP_SELDIR");
    if (destination == nullptr) return nullptr;
    SendMessageTimeoutA(GetDlgItem(destination, IDC_DESTDIR), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(dest), SMTO_ABORTIFHUNG, 2000, nullptr);
    ClickItem(destination, IDC_NEXT);
    HWND install = WaitForTopWindow("SETUP_INSTALL", nullptr, setup.id, 20000);
    HWND box = install != nullptr ? WaitForMessageBox(install, 0, 30000) : nullptr;
    if (box != nullptr) *text = MessageBoxText(box);
    return box;
}

// Ends the run on the finish page, without a restart.
void FinishWithoutRestart(RunningProgram& setup) {
    HWND end = WaitForPage("SETUP_END", 30000);
    ASSERT_NE(nullptr, end) << "no finish page";
    EXPECT_TRUE(ChooseItem(end, IDC_RESTART_LATER));
    ClickItem(end, IDC_NEXT);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 30000));
}

// A destination drive that fills up: the box names the file and says why; Abort puts the
// run back as Cancel does, Retry after room was made gives the whole file.
TEST_F(CancelRun, AFullDiskIsAskedAboutAbortStopsRetryAfterRoomIsMadeGoesOn) {
    smallDrive = MountSmallDrive(512);
    ASSERT_TRUE(smallDrive) << "mounting a tmpfs needs root";
    const char* const kDest = "E:\\QORVA";
    std::string exe = FailurePackage({{"ONE.BIN", "ONE.BIN"}, {"TWO.BIN", "TWO.BIN"}});
    ASSERT_FALSE(exe.empty());
    const std::string one(100000, '1'), two(100000, '2');
    WriteFileBytes("C:\\tests\\failures\\ONE.BIN", one);
    WriteFileBytes("C:\\tests\\failures\\TWO.BIN", two);
    FillSmallDrive(150 * 1024);  // room for ONE.BIN, not for TWO.BIN after it

    std::string text;
    HWND box = FailureBox(setup, exe, kDest, &text);
    ASSERT_NE(nullptr, box);
    const std::string full =
        "TWO.BIN cannot be copied to E:\\QORVA\\TWO.BIN.\n\nThe destination cannot be written: "
        "the disk is full or write-protected. Make room, then choose Retry.";
    EXPECT_EQ(full, text);
    EXPECT_EQ(one, ReadFileBytes("E:\\QORVA\\ONE.BIN"));
    EXPECT_FALSE(FileExists("E:\\QORVA\\TWO.BIN")) << "a cut file was left";
    HWND install = GetWindow(box, GW_OWNER);
    ClickItem(box, IDABORT);
    ASSERT_TRUE(WaitWindowGone(box, 10000));
    ConfirmNotice(install);
    ExpectSystemIniUntouched();
    EXPECT_FALSE(FileExists(kDest)) << "the aborted run was not put back";
    StopProgram(setup);

    // Again, and room is made before Retry.
    box = FailureBox(setup, exe, kDest, &text);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(full, text);
    DeleteFileA("E:\\FILLER");
    ClickItem(box, IDRETRY);
    FinishWithoutRestart(setup);
    EXPECT_EQ(one, ReadFileBytes("E:\\QORVA\\ONE.BIN"));
    EXPECT_EQ(two, ReadFileBytes("E:\\QORVA\\TWO.BIN"));
    WIN32_FIND_DATAA found;
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA("E:\\QORVA\\~SU*", &found));  // no work files
    EXPECT_NE(std::string::npos,
              ReadFileBytes(WindowsPath() + "\\system.ini").find("mouse=*vmouse"));
}

// A source that is missing and packed data cut short are asked about; Ignore goes on to the
// finish page, and the older file where the cut one was to go stays as it was.
TEST_F(CancelRun, AMissingSourceAndCutPackedDataAreAskedAboutAndIgnored) {
    const char* const kDest = "C:\\QORVA";
    std::string exe = FailurePackage(
        {{"GONE.TXT", "GONE.TXT"}, {"CUT.TX_", "CUT.TXT"}, {"LAST.TXT", "LAST.TXT"}});
    ASSERT_FALSE(exe.empty());
    WriteFileBytes("C:\\tests\\failures\\CUT.TX_", InstallFixture("readme.pk").substr(0, 400));
    WriteFileBytes("C:\\tests\\failures\\LAST.TXT", "the last file");
    CreateDirectoryA("C:\\QORVA", nullptr);
    WriteFileBytes("C:\\QORVA\\CUT.TXT", "an older file");

    std::string text;
    HWND box = FailureBox(setup, exe, kDest, &text);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(
        "GONE.TXT cannot be copied to C:\\QORVA\\GONE.TXT.\n\nThe file cannot be found. "
        "Insert the disk or CD that holds it, then choose Retry.",
        text);
    HWND install = GetWindow(box, GW_OWNER);
    ClickItem(box, IDIGNORE);
    ASSERT_TRUE(WaitWindowGone(box, 10000));
    box = WaitForMessageBox(install, 0, 30000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(
        "CUT.TX_ cannot be copied to C:\\QORVA\\CUT.TXT.\n\nThe packed data of the file "
        "is damaged.",
        MessageBoxText(box));
    ClickItem(box, IDIGNORE);
    FinishWithoutRestart(setup);
    EXPECT_EQ("an older file", ReadFileBytes("C:\\QORVA\\CUT.TXT"));
    EXPECT_EQ("the last file", ReadFileBytes("C:\\QORVA\\LAST.TXT"));
}

}  // namespace
