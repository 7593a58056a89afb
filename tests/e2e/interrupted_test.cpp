// SETUP.EXE killed without warning at moments spread over an unattended run of a package of
// more than a thousand files; each time the uninstaller alone, or setup run again and then
// the uninstaller, must give the machine back exactly. And a 3,000-file installation that
// leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/ui.h"
#include "support/uninstall_run.h"
#include "support/uninstall_state.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

namespace {

const char kStartup[] =
    "[Startup]\r\nTitle=Qorva Mouse Driver\r\nMfg=Qorva\r\nMouseDriver=QXMOUSE.DRV\r\n"
    "MouseInf=QXMOUSE.INF\r\nDriverDate=12-07-2026\r\nPS2InfSection=QXPS2\r\n"
    "SerialInfSection=QXSERIAL\r\nPS2Name=Qorva PS/2 Mouse\r\nSeialName=Qorva Serial Mouse\r\n";

// A package C:\tests\<name> of files data files in DATA (one of each hundred packed), after
// the script and the two programs, which arrive first; each file holds the numbers 1 to
// lines.
std::string ManyFilePackage(const std::string& name, int files, int lines = 300) {
    std::string inf =
        "[Main]\r\nDefaultPath=C:\\QORVA\r\nProductName=Qorva Mouse\r\nMinimumSpace=1\r\n"
        "DefaultSerialMouse=0\r\n[DiskLabel]\r\nDisk1=Files\r\n[DirectoryName]\r\nRootDir=.\r\n"
        "SubDir1=DATA\r\n[FileCounts]\r\nDisk1=" +
        std::to_string(files + 3) +
        "\r\n[Disk1]\r\n1=SETUP.INF, SETUP.INF, Script, RootDir\r\n"
        "2=UNINSTAL.EXE, UNINSTAL.EXE, Uninstaller, RootDir\r\n"
        "3=SETUP.EXE, SETUP.EXE, Setup, RootDir\r\n";
    for (int i = 1; i <= files; ++i) {
        char line[80];
        wsprintfA(line, "%d=F%04d.%s, F%04d.DAT, Data, SubDir1\r\n", i + 3, i,
                  i % 100 == 0 ? "DA_" : "DAT", i);
        inf += line;
    }
    std::string exe = MakeTestPackage(name, inf + kStartup);
    if (exe.empty()) return "";
    std::string dir = EnvText("VM_PREFIX") + "/drive_c/tests/" + name;
    std::string uninstaller = UninstallerUnderTest();
    if (!CopyFileA(uninstaller.c_str(), ("C:\\tests\\" + name + "\\UNINSTAL.EXE").c_str(), FALSE))
        return "";
    int made = RunHostCommand(
        "cd " + ShellQuote(dir) + " && mkdir -p DATA && cd DATA && seq 1 " + std::to_string(lines) + " > BODY && for n in" +
            " $(seq -f %04g 1 " + std::to_string(files) + "); do case $n in *00) cp BODY F$n.DAT" +
            " && mscompress F$n.DAT >/dev/null && mv F$n.DAT_ F$n.DA_ && rm F$n.DAT;; *) ln BODY F$n.DAT;; esac; done",
        MachineTime(120000));
    return made == 0 ? exe : "";
}

// What Windows does with wininit.ini at its next start (the queued removals), and the
// installation directory the uninstaller leaves empty when it was queued itself.
void RestartWorksThroughWininit() {
    std::string ini = ReadFileBytes(WindowsPath() + "\\wininit.ini");
    for (size_t at = ini.find("NUL="); at != std::string::npos; at = ini.find("NUL=", at + 1))
        DeleteFileA(ini.substr(at + 4, ini.find('\r', at) - at - 4).c_str());
    DeleteFileA((WindowsPath() + "\\wininit.ini").c_str());
    RemoveDirectoryA(kInstallDir.c_str());
}

DWORD Silent(const std::string& exe, const std::string& tail) {
    return RunWithoutDisplay(exe, tail, 300000);
}

class Interrupted : public UninstallerMachine {
  protected:
    void SetUp() override {
        UninstallerMachine::SetUp();
        SeedPs2Mouse();
    }
};

TEST_F(Interrupted, AKilledSetupIsGivenBackByTheUninstallerOrASecondRun) {
    const std::string exe = ManyFilePackage("killed", 1100);
    ASSERT_FALSE(exe.empty());
    const std::string args = "/S /D=C:\\QORVA /M=PS2 /LOG=C:\\KILLED.LOG";
    const std::vector<std::string> before = MachineState();

    ASSERT_EQ(0u, Silent(exe, args));
    ASSERT_EQ(0u, Silent(kUninstaller, "/S"));
    RestartWorksThroughWininit();
    ASSERT_EQ("", Differences(before, MachineState()));

    // The moments, by the step the install log has reached: the log begun, files early,
    // midway and late in the copy, the copy complete, the registration, system.ini.
    const char* const moments[] = {"Run\r\n",  "F0001.DAT", "F0150.DAT", "F0400.DAT",
                                   "F0700.DAT", "F1000.DAT", "Done\r\n",  "Registry\r\n",
                                   "SysBak "};
    const std::string installLog = kInstallDir + "\\INSTALL.LOG";
    int n = 0;
    for (const char* moment : moments) {
        ++n;
        SCOPED_TRACE(moment);
        DeleteFileA("C:\\KILLED.LOG");
        RunningProgram setup = StartProgram(exe, args, true);
        ASSERT_NE(nullptr, setup.process);
        // A close watch: the copy takes about a millisecond a file.
        DWORD start = GetTickCount();
        while (ReadFileBytes(installLog).find(moment) == std::string::npos &&
               GetTickCount() - start < MachineTime(60000))
            Sleep(1);
        StopProgram(setup);  // TerminateProcess: no warning, nothing flushed on the way out
        std::string log = ReadFileBytes(installLog);
        size_t last = log.rfind("\n", log.size() > 2 ? log.size() - 2 : 0);
        std::string where = last == std::string::npos ? log : log.substr(last + 1);

        // Every second time the uninstaller alone, where it has arrived; else setup again.
        bool alone = n % 2 == 0 && FileExists(kUninstaller);
        std::printf("killed at %.8s (%s), the log's last line: %s", moment,
                    alone ? "the uninstaller alone" : "setup again", where.c_str());
        if (!alone) EXPECT_EQ(0u, Silent(exe, args)) << "the second run, after: " << where;
        EXPECT_EQ(0u, Silent(kUninstaller, "/S")) << where;
        RestartWorksThroughWininit();
        EXPECT_EQ("", Differences(before, MachineState()))
            << (alone ? "uninstaller alone" : "setup again") << ", killed after: " << where;
    }
}

// A reinstall killed midway: the files it had written over come back from its kept copies,
// and the uninstaller then takes the first installation off as if nothing had happened.
TEST_F(Interrupted, AKilledReinstallPutsTheFirstInstallationBack) {
    const std::string exe = ManyFilePackage("again", 1100);
    ASSERT_FALSE(exe.empty());
    const std::vector<std::string> before = MachineState();
    ASSERT_EQ(0u, Silent(exe, "/S /M=PS2"));
    // The second run writes other contents over the first run's files.
    ASSERT_EQ(0, RunHostCommand("cd " + ShellQuote(EnvText("VM_PREFIX") + "/drive_c/tests/again/DATA") +
                                    " && seq 1 500 > NEW && for f in F0*.DAT; do rm $f && cp NEW $f; done",
                                MachineTime(60000)));
    RunningProgram setup = StartProgram(exe, "/S /M=PS2", true);
    ASSERT_NE(nullptr, setup.process);
    DWORD start = GetTickCount();
    while (ReadFileBytes(kInstallDir + "\\INSTALL.LOG").find("Keep C:\\QORVA\\DATA\\F0500") ==
               std::string::npos &&
           GetTickCount() - start < MachineTime(60000))
        Sleep(1);
    StopProgram(setup);
    EXPECT_EQ(ReadFileBytes("C:\\tests\\again\\DATA\\F0001.DAT").size(),
              ReadFileBytes(kInstallDir + "\\DATA\\F0001.DAT").size())
        << "the reinstall was killed before it wrote over anything";
    EXPECT_EQ(0u, Silent(kUninstaller, "/S"));
    RestartWorksThroughWininit();
    EXPECT_EQ("", Differences(before, MachineState()));
}

// An upgrade: version 2, with more files and other contents, over version 1; its run
// aborted on a missing file puts version 1 back exactly; whole, it is uninstalled exactly.
TEST_F(Interrupted, AnUpgradeAbortedOrWholeIsGivenBackExactly) {
    const std::string v1 = ManyFilePackage("v1", 60), v2 = ManyFilePackage("v2", 90, 400);
    ASSERT_FALSE(v1.empty());
    ASSERT_FALSE(v2.empty());
    const std::vector<std::string> before = MachineState();
    ASSERT_EQ(0u, Silent(v1, "/S /M=PS2"));
    std::vector<std::string> first = MachineState();

    ASSERT_TRUE(MoveFileA("C:\\tests\\v2\\DATA\\F0075.DAT", "C:\\tests\\v2\\F0075.DAT"));
    EXPECT_EQ(1u, Silent(v2, "/S /M=PS2"));  // aborts at the missing file
    // All as it was, but for the install log, which has the run's lines and that it was undone.
    std::string log = ReadFileBytes(kInstallDir + "\\INSTALL.LOG");
    EXPECT_EQ("Undone\r\n", log.substr(log.size() - 8));
    std::vector<std::string> now = MachineState();
    for (std::vector<std::string>* s : {&first, &now})
        s->erase(std::remove_if(s->begin(), s->end(),
                                [](const std::string& l) {
                                    return l.rfind(kInstallDir + "\\INSTALL.LOG ", 0) == 0;
                                }),
                 s->end());
    EXPECT_EQ("", Differences(first, now));
    ASSERT_TRUE(MoveFileA("C:\\tests\\v2\\F0075.DAT", "C:\\tests\\v2\\DATA\\F0075.DAT"));

    ASSERT_EQ(0u, Silent(v2, "/S /M=PS2"));
    EXPECT_EQ(ReadFileBytes("C:\\tests\\v2\\DATA\\F0001.DAT"),
              ReadFileBytes(kInstallDir + "\\DATA\\F0001.DAT"));
    EXPECT_TRUE(FileExists(kInstallDir + "\\DATA\\F0090.DAT"));
    EXPECT_EQ(0u, Silent(kUninstaller, "/S"));
    RestartWorksThroughWininit();
    EXPECT_EQ("", Differences(before, MachineState()));
}

// A large installation and its uninstallation: nothing of it stays.
TEST_F(Interrupted, AThreeThousandFileInstallationLeavesNothing) {
    const std::string exe = ManyFilePackage("large", 3000);
    ASSERT_FALSE(exe.empty());
    const std::vector<std::string> before = MachineState();
    ASSERT_EQ(0u, Silent(exe, "/S /D=C:\\QORVA /M=PS2"));
    EXPECT_TRUE(FileExists(kInstallDir + "\\DATA\\F3000.DAT"));
    EXPECT_EQ(0u, Silent(kUninstaller, "/S"));
    RestartWorksThroughWininit();
    EXPECT_EQ("", Differences(before, MachineState()));
}

}  // namespace
