// The three programs on a Japanese Windows (ANSI code page 932; the machine runs with
// --locale ja_JP.UTF-8), where the second byte of many characters is 0x5C, the backslash:
// a package in C:\ドライバ表示 with a subdirectory ヘルプ表 holding 表示.TXT and ソ.TXT,
// installed into C:\ソフト表, C:\ソ, C:\表\ and C:\ソフト表\新規\マウス, switched with -u,
// uninstalled, and checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/uninstall_run.h"
#include "support/uninstall_state.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

// Code page 932 bytes; the second byte of ソ, 表 is 0x5C, of 新 "V", of 規 "K", of ス "X".
#define SO "\x83\x5C"
#define HYO "\x95\x5C"
const std::string kPackage =
    "C:\\"
    "\x83\x68\x83\x89\x83\x43\x83\x6F" HYO "\x8E\xA6";     // ドライバ表示
const std::string kHelp = "\x83\x77\x83\x8B\x83\x76" HYO;  // ヘルプ表
const std::string kShown = HYO
    "\x8E\xA6"
    ".TXT";                                                  // 表示.TXT
const std::string kSo = SO ".TXT";                           // ソ.TXT
const std::string kSoft = "C:\\" SO "\x83\x74\x83\x67" HYO;  // C:\ソフト表
const std::string kTwoLevels = kSoft +
                               "\\"
                               "\x90\x56\x8B\x4B"
                               "\\"
                               "\x83\x7D\x83\x45\x83\x58";  // 新規\マウス

class DoubleByte : public UninstallerMachine {
  protected:
    // The sample package moved to C:\ドライバ表示, with ヘルプ表\表示.TXT and ヘルプ表\ソ.TXT
    // installed into SubDir4, ヘルプ表 below the installation directory.
    void SetUp() override {
        ASSERT_EQ(932u, GetACP()) << "the machine must run with --locale ja_JP.UTF-8";
        UninstallerMachine::SetUp();
        SeedPs2Mouse();
        RemoveTree(kPackage);
        ASSERT_TRUE(MoveFileA("C:\\SAMPLE", kPackage.c_str()));
        ASSERT_TRUE(CreateDirectoryA((kPackage + "\\" + kHelp).c_str(), nullptr));
        WriteFileBytes(kPackage + "\\" + kHelp + "\\" + kShown, "shown\r\n", false);
        WriteFileBytes(kPackage + "\\" + kHelp + "\\" + kSo, "so\r\n", false);
        std::string script = ReadFileBytes(kPackage + "\\SETUP.INF");
        script.replace(script.find("Disk1=8"), 7, "Disk1=10");
        script.insert(script.find("WinDir="), "SubDir4=" + kHelp + "\r\n");
        script.insert(script.find("\n", script.find("8=SETUP.EXE")) + 1,
                      "9=" + kShown + ", " + kShown + ", Help, SubDir4\r\n10=" + kSo + ", " + kSo +
                          ", Help, SubDir4\r\n");
        WriteFileBytes(kPackage + "\\SETUP.INF", script);
        setup = kPackage + "\\SETUP.EXE";
        before = MachineState();
    }
    void TearDown() override {
        for (const std::string& dir :
             {kPackage, kSoft, std::string("C:\\" SO), std::string("C:\\" HYO)})
            RemoveTree(dir);
    }

    // What the installation into dir (its full form, no separator at the end) put there,
    // and the uninstall entry that names it.
    void ExpectInstalledInto(const std::string& dir) {
        SCOPED_TRACE(dir);
        EXPECT_EQ("shown\r\n", ReadFileBytes(dir + "\\" + kHelp + "\\" + kShown));
        EXPECT_EQ("so\r\n", ReadFileBytes(dir + "\\" + kHelp + "\\" + kSo));
        EXPECT_TRUE(FileExists(dir + "\\UNINSTAL.EXE"));
        const std::string log = ReadFileBytes(dir + "\\INSTALL.LOG");
        for (const std::string& name : {kShown, kSo})
            EXPECT_NE(std::string::npos,
                      log.find("\r\nNew " + dir + "\\" + kHelp + "\\" + name + "\r\n"))
                << log;
        EXPECT_NE(
            std::string::npos,
            ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Uninstall\\Quillotrax", "UninstallString")
                .find(dir));
    }

    // Uninstalled: the files setup made are gone, the machine is as before (the running
    // UNINSTAL.EXE, queued, aside; an unattended uninstall keeps the shared files that no
    // program counts any more).
    void ExpectUninstalledFrom(const std::string& dir, bool silent = true) {
        SCOPED_TRACE(dir);
        EXPECT_FALSE(FileExists(dir + "\\" + kHelp));
        EXPECT_FALSE(FileExists(dir + "\\SETUP.INF"));
        EXPECT_FALSE(FileExists(dir + "\\INSTALL.LOG"));
        EXPECT_TRUE(FileExists(kPackage + "\\" + kHelp + "\\" + kSo));
        std::string differences = Differences(before, MachineState()), kept;
        for (size_t at = 0, end; at < differences.size(); at = end + 1) {
            end = differences.find('\n', at);
            const std::string line = differences.substr(at, end - at);
            if (!silent || line.find("QXMOUSE.") == std::string::npos) kept += line + "\n";
        }
        EXPECT_EQ("", kept);
    }

    std::string setup;
    std::vector<std::string> before;
};

// Unattended: installed into C:\ソフト表, switched with -u, uninstalled; and into C:\表\.
TEST_F(DoubleByte, SilentInstallSwitchAndUninstall) {
    ASSERT_EQ(0u, RunWithoutDisplay(setup, "/S /D=" + kSoft + " /M=PS2", 60000));
    ExpectInstalledInto(kSoft);
    EXPECT_NE(std::string::npos,
              ReadFileBytes(kSoft + "\\INSTALL.LOG").find("Dir " + kSoft + "\r\n"));
    EXPECT_EQ(0u, RunWithoutDisplay(kSoft + "\\SETUP.EXE", "-u /S /M=PS2", 60000));
    EXPECT_FALSE(ProfileValue(kSoft + "\\SETUP.INF", "PS2", "SubKey1").empty());
    EXPECT_EQ(0u, RunWithoutDisplay(kSoft + "\\UNINSTAL.EXE", "/S", 60000));
    ExpectUninstalledFrom(kSoft);

    const std::string hyo = "C:\\" HYO;
    ASSERT_EQ(0u, RunWithoutDisplay(setup, "/S /D=" + hyo + "\\ /M=PS2", 60000));
    ExpectInstalledInto(hyo);
    EXPECT_EQ(0u, RunWithoutDisplay(hyo + "\\UNINSTAL.EXE", "/S", 60000));
    ExpectUninstalledFrom(hyo);
}

// The wizard with C:\ソ typed in, and the uninstaller's questions answered.
TEST_F(DoubleByte, WizardAndUninstaller) {
    const std::string so = "C:\\" SO;
    RunningProgram run = StartProgram(setup);
    HWND page = WalkTo("SETUP_SELDIR", IDC_PS2);
    ASSERT_NE(nullptr, page);
    SendMessageTimeoutA(GetDlgItem(page, IDC_DESTDIR), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(so.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    ASSERT_TRUE(ClickItem(page, IDC_NEXT));
    HWND end = WaitForPage("SETUP_END", 60000);
    ASSERT_NE(nullptr, end) << "no finish page";
    ASSERT_TRUE(ChooseItem(end, IDC_RESTART_LATER));
    ASSERT_TRUE(ClickItem(end, IDC_NEXT));
    EXPECT_EQ(0u, WaitProgramEnd(run, 30000));
    StopProgram(run);
    ExpectInstalledInto(so);
    EXPECT_EQ(0u, RunUninstaller(so + "\\UNINSTAL.EXE", IDYES));
    ExpectUninstalledFrom(so, false);
}

// C:\ソフト表\新規\マウス, two levels below what stands: each level is made and logged; an
// aborted run takes them all away again, and so does the next run after a killed one.
TEST_F(DoubleByte, TwoLevelsAreMadeAndPutBack) {
    const std::string source = kPackage + "\\" + kHelp + "\\" + kSo;
    ASSERT_TRUE(MoveFileA(source.c_str(), (source + ".OFF").c_str()));
    EXPECT_EQ(1u, RunWithoutDisplay(setup, "/S /D=" + kTwoLevels + " /M=PS2", 60000));
    EXPECT_FALSE(FileExists(kSoft));
    ASSERT_TRUE(MoveFileA((source + ".OFF").c_str(), source.c_str()));

    // What a run killed right after it began leaves: the levels and an open run. The next
    // run puts it back (the levels go), makes the levels again and logs them as its own.
    const std::string levels = "Run\r\nDir " + kSoft + "\r\nDir " + kSoft +
                               "\\\x90\x56\x8B\x4B"
                               "\r\nDir " +
                               kTwoLevels + "\r\n";
    ASSERT_TRUE(CreateDirectoryA(kSoft.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((kSoft + "\\\x90\x56\x8B\x4B").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(kTwoLevels.c_str(), nullptr));
    WriteFileBytes(kTwoLevels + "\\INSTALL.LOG", "Directory " + kTwoLevels + "\r\n" + levels,
                   false);
    ASSERT_EQ(0u, RunWithoutDisplay(setup, "/S /D=" + kTwoLevels + " /M=PS2", 60000));
    ExpectInstalledInto(kTwoLevels);
    const std::string log = ReadFileBytes(kTwoLevels + "\\INSTALL.LOG");
    EXPECT_EQ(0u, log.find("Directory " + kTwoLevels + "\r\n" + levels)) << log;
    EXPECT_EQ(log.find("\nRun\r\n"), log.rfind("\nRun\r\n")) << "one run in a new log: " << log;
    EXPECT_EQ(0u, RunWithoutDisplay(kTwoLevels + "\\UNINSTAL.EXE", "/S", 60000));
    ExpectUninstalledFrom(kTwoLevels);
}

// The checker reads the package as setup does: the double-byte files are copied where
// setup copies them, and no finding names them.
TEST_F(DoubleByte, CheckerFollowsTheDoubleBytePaths) {
    const std::string exe = SetupExeUnderTest();
    const std::string checker = exe.substr(0, exe.rfind('\\')) + "\\SETUPCHK.EXE";
    auto check = [&](const std::string& options) {
        const std::string out = "C:\\tests\\check.txt";
        CreateDirectoryA("C:\\tests", nullptr);
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE h = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                               0, nullptr);
        RunningProgram run = StartCommand(QuoteArgument(checker) + options + " " + kPackage, "", h);
        DWORD code = WaitProgramEnd(run, 60000);
        StopProgram(run);
        CloseHandle(h);
        return std::to_string(code) + "\n" + ReadFileBytes(out);
    };
    const std::string plan = check(" --plan");
    const std::string dest = "C:\\QORVA\\" + kHelp + "\\";
    for (const std::string& name : {kShown, kSo})
        EXPECT_NE(std::string::npos,
                  plan.find("\tcopy\t" + std::to_string(name == kSo ? 4 : 7) + "\t" + kPackage +
                            "\\" + kHelp + "\\" + name + "\t" + dest + name))
            << plan;
    EXPECT_NE(std::string::npos, plan.find("\nexit\t0")) << plan;
    // Findings are errors and warnings; notes name what is fine.
    const std::string report = check("");
    for (size_t at = report.find('\n'); at != std::string::npos; at = report.find('\n', at + 1)) {
        const std::string line = report.substr(at + 1, report.find('\n', at + 1) - at - 1);
        if (line.rfind("note", 0) != 0)
            for (const std::string& name : {kHelp, kShown, kSo})
                EXPECT_EQ(std::string::npos, line.find(name)) << line;
    }
}

}  // namespace
