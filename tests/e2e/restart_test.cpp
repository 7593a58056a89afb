// The end of a run that restarts Windows: after an installation with "Yes, I want to
// restart my computer now." and after the driver-switch mode. Under Wine the restart
// request ends every program with a window and then runs the RunOnce and Run entries, as
// Windows does when it starts again. This test program has no window and so lives on.
#include <gtest/gtest.h>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kDevicePs2[] = "Enum\\BIOS\\*PNP0F13\\0000";
const char kMarkerKey[] = "Software\\SetupTests\\Restarted";

class Restart : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetMachine();
        DeleteTree(HKEY_LOCAL_MACHINE, kMarkerKey);
        SeedOtherDevices();
        SeedPs2Mouse();
        // A RunOnce entry of our own shows that the machine went through a restart.
        SetString(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\RunOnce", "SetupTests",
                  "\"" + ToolPath("vmhelper.exe") + "\" setsz HKLM " + kMarkerKey + " By RunOnce");
        package = MakeSamplePackage("SAMPLE");
        ASSERT_FALSE(package.empty());
    }

    static bool Restarted() { return KeyExists(HKEY_LOCAL_MACHINE, kMarkerKey); }

    std::string package;
};

TEST_F(Restart, YesOnTheFinishPageRestartsAndTheCompanionStartsAgain) {
    RunningProgram companion = StartProgram(ToolPath("qxmain.exe"));
    ASSERT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", companion.id, 10000));
    ASSERT_EQ("", InstallWith(package, IDC_PS2, IDC_RESTART_NOW));
    EXPECT_EQ(0u, WaitProgramEnd(companion, 5000));
    StopProgram(companion);

    EXPECT_TRUE(WaitUntil(Restarted, 30000)) << "the restart did not run the RunOnce entry";
    EXPECT_EQ("<absent>", ReadText(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\RunOnce",
                                   "SetupTests"));
    // The Run entry written by the installation starts the installed companion program.
    std::string log;
    EXPECT_TRUE(WaitUntil(
        [&] {
            log = ReadFileBytes("C:\\QXMAIN.LOG");
            return log.find("QXMAIN.EXE -startup") != std::string::npos;
        },
        30000))
        << "C:\\QXMAIN.LOG:\n"
        << log;
    EXPECT_NE(std::string::npos, log.find("C:\\QORVA\\QXMAIN.EXE")) << log;
    EXPECT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", 0, 10000));
}

// How long a restart takes here to run the RunOnce entry is a few seconds; a run that asked
// for none must still show no trace of one after this.
const DWORD kNoRestartWaitMs = 8000;

TEST_F(Restart, LaterOnTheFinishPageEndsWithoutRestart) {
    ASSERT_EQ("", InstallWith(package, IDC_PS2, IDC_RESTART_LATER));
    EXPECT_FALSE(WaitUntil(Restarted, kNoRestartWaitMs)) << "restarted against the choice";
    EXPECT_EQ("C:\\QORVA\\QXMAIN.EXE -startup",
              ReadText(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Run", "Quillotrax"));
}

// Cancel on the only page of "SETUP.EXE -u": the notice, then the end, with nothing
// registered, nothing journalled and no restart.
TEST_F(Restart, SwitchModeCancelRegistersNothingAndDoesNotRestart) {
    RunningProgram setup = StartProgram(package, "-u");
    ASSERT_NE(nullptr, setup.process);
    HWND page = WaitForPage("SETUP_SELMOUSE", 20000);
    ASSERT_NE(nullptr, page);
    ClickItem(page, IDC_CANCEL);
    HWND box = WaitForMessageBox(nullptr, setup.id, 15000);
    ASSERT_NE(nullptr, box);
    ClickItem(box, IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 15000));
    StopProgram(setup);

    EXPECT_FALSE(WaitUntil(Restarted, kNoRestartWaitMs)) << "a cancelled run restarted";
    EXPECT_EQ("Standard PS/2 Port Mouse", ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
    EXPECT_EQ("<absent>", ProfileValue("C:\\SAMPLE\\SETUP.INF", "PS2", "SubKey1"));
    EXPECT_EQ("<absent>",
              ReadText(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Run", "Quillotrax"));
}

// "SETUP.EXE -u" on the sample package (what it registers is checked in
// switch_mode_test): the restart it asks for without a question reaches Windows, after the
// journal was written beside the program; nothing is copied and system.ini stays.
TEST_F(Restart, SwitchModeRestartsAfterRegistering) {
    const std::string systemIni = ReadFileBytes(WindowsPath() + "\\system.ini");
    RunningProgram setup = StartProgram(package, "-u");
    ASSERT_NE(nullptr, setup.process);
    HWND box = SwitchModeChoose(setup, IDC_PS2);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Standard PS/2 Port Mouse",
              ProfileValue("C:\\SAMPLE\\SETUP.INF", "PS2", "DeviceDesc"));
    EXPECT_FALSE(Restarted()) << "the restart must wait for the user's OK";
    ClickItem(box, IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 15000));
    StopProgram(setup);
    EXPECT_TRUE(WaitUntil(Restarted, 30000)) << "the restart did not run the RunOnce entry";

    EXPECT_EQ("Qorva PS/2 Mouse", ReadText(HKEY_LOCAL_MACHINE, kDevicePs2, "DeviceDesc"));
    EXPECT_EQ("<absent>",
              ReadText(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Run", "Quillotrax"));
    EXPECT_FALSE(FileExists("C:\\QORVA")) << "nothing is copied in this mode";
    EXPECT_EQ(systemIni, ReadFileBytes(WindowsPath() + "\\system.ini"));
    EXPECT_FALSE(FileExists(WindowsPath() + "\\system.bak"));
}

}  // namespace
