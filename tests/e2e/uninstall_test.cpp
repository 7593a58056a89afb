// UNINSTAL.EXE end to end: the state of the machine is taken, the sample package installed
// and uninstalled again, and the state compared (uninstall_scope_test.cpp: what it leaves).
// The uninstaller is the one built beside $SETUP_EXE, shipped in the package and installed
// with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/uninstall_run.h"
#include "support/uninstall_state.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

class Uninstaller : public UninstallerMachine {};

// The queued removals of wininit.ini's [rename] section, in the file's order.
std::vector<std::string> QueuedRemovals() {
    std::string text = ReadFileBytes(WindowsPath() + "\\wininit.ini");
    std::vector<std::string> out;
    for (size_t at = text.find("NUL="); at != std::string::npos; at = text.find("NUL=", at + 1))
        out.push_back(text.substr(at + 4, text.find('\r', at) - at - 4));
    return out;
}

// The state after an uninstallation, the running uninstaller counted as gone when it is
// queued for removal at the next start (and then the directory that holds it).
std::vector<std::string> StateWithoutQueued() {
    std::vector<std::string> s = MachineState();
    if (QueuedRemovals() != std::vector<std::string>{kUninstaller}) return s;
    s.erase(std::remove_if(s.begin(), s.end(),
                           [](const std::string& l) {
                               return l == kInstallDir || l.rfind(kUninstaller + " ", 0) == 0;
                           }),
            s.end());
    return s;
}

struct RoundTrip {
    const char* name;
    std::function<void()> seed;
    int mouse;     // IDC_PS2 or IDC_SERIAL
    int installs;  // installations into C:\QORVA
    int switchTo;  // 0, or the mouse of a "SETUP.EXE -u" run from C:\QORVA
};

// Runs the installed "C:\QORVA\SETUP.EXE -u" for the given mouse; it journals into
// C:\QORVA\SETUP.INF and restarts Windows, which starts the installed companion program again.
void SwitchFromInstallDir(int mouse) {
    RunningProgram setup = StartProgram(kInstallDir + "\\SETUP.EXE", "-u");
    HWND box = SwitchModeChoose(setup, mouse);
    ASSERT_NE(nullptr, box);
    ClickItem(box, IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 15000));
    StopProgram(setup);
    EXPECT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", 0, 30000)) << "no restart seen";
}

TEST_F(Uninstaller, EveryRoundTripLeavesTheMachineAsItWas) {
    const RoundTrip cases[] = {
        {"PS/2 node", SeedPs2Mouse, IDC_PS2, 1, 0},
        {"serial node", SeedSerialMouse, IDC_SERIAL, 1, 0},
        {"no node: the own serial key", [] {}, IDC_SERIAL, 1, 0},
        {"PS/2, then -u for the serial mouse",
         [] {
             SeedPs2Mouse();
             SeedSerialMouse();
         },
         IDC_PS2, 1, IDC_SERIAL},
        {"two installations into one directory", SeedSerialMouse, IDC_SERIAL, 2, 0},
        {"two installations of the own serial key", [] {}, IDC_SERIAL, 2, 0},
        // Registered twice: the Driver that setup gave the device is recorded absent, not
        // as the package's own class key.
        {"PS/2 key without Driver, then -u for it",
         [] {
             SeedPs2Mouse();
             HKEY k;
             ASSERT_EQ(0, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13\\0000", 0,
                                        KEY_ALL_ACCESS, &k));
             RegDeleteValueA(k, "Driver");
             RegCloseKey(k);
         },
         IDC_PS2, 1, IDC_PS2},
    };
    bool first = true;
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        if (!first) SetUp();
        first = false;
        c.seed();
        std::vector<std::string> before = MachineState();
        for (int i = 0; i < c.installs; ++i) ASSERT_EQ("", InstallWith(package, c.mouse));
        if (c.switchTo != 0) SwitchFromInstallDir(c.switchTo);
        ASSERT_NE(before, MachineState());

        // The first case restarts: what was queued goes then.
        std::vector<std::string> texts;
        EXPECT_EQ(0u, Uninstall(IDYES, &texts, &c == cases ? IDYES : IDNO));
        if (&c == cases) {
            EXPECT_TRUE(
                WaitUntil([] { return !FileExists(kInstallDir + "\\UNINSTAL.EXE"); }, 30000))
                << "still there after the restart";
            // Wine's start-up deletes wininit.ini after working through it: a moment later.
            EXPECT_TRUE(
                WaitUntil([] { return !FileExists(WindowsPath() + "\\wininit.ini"); }, 30000));
            // The directory that held the uninstaller is left, empty.
            EXPECT_EQ("+ " + kInstallDir + "\n", Differences(before, MachineState()));
            continue;
        }
        // The question, one about each shared file that no program uses any more, the end.
        ASSERT_EQ(6u, texts.size());
        EXPECT_EQ(0u,
                  texts[0].find("Qorva Mouse Uninstall: Qorva Mouse and its files will be removed"))
            << texts[0];
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(
                "Qorva Mouse Uninstall: As far as Windows knows, no program uses the shared file " +
                    SampleSharedFiles()[i - 1] + " any more. Do you want to remove it?",
                texts[i]);
        EXPECT_EQ(0u, texts[5].find("Qorva Mouse Uninstall: Qorva Mouse has been removed."))
            << texts[5];
        EXPECT_EQ("", Differences(before, StateWithoutQueued()));
    }
}

// No at the first question changes nothing; Yes later does the work, and a second run,
// with the script and the install log put back, finds nothing more to do; without the
// script it says so.
TEST_F(Uninstaller, NoChangesNothingAndASecondRunFindsNothingMore) {
    SeedPs2Mouse();
    std::vector<std::string> before = MachineState();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    std::vector<std::string> installed = MachineState();
    const std::string script = ReadFileBytes(kInstallDir + "\\SETUP.INF");
    const std::string log = ReadFileBytes(kInstallDir + "\\INSTALL.LOG");

    std::vector<std::string> texts;
    EXPECT_EQ(1u, Uninstall(IDNO, &texts));
    EXPECT_EQ(1u, texts.size());
    EXPECT_EQ("", Differences(installed, MachineState()));

    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_EQ("", Differences(before, StateWithoutQueued()));

    CreateDirectoryA(kInstallDir.c_str(), nullptr);
    WriteFileBytes(kInstallDir + "\\SETUP.INF", script);
    WriteFileBytes(kInstallDir + "\\INSTALL.LOG", log);
    CopyFileA("C:\\SAMPLE\\UNINSTAL.EXE", kUninstaller.c_str(), FALSE);
    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_EQ("", Differences(before, StateWithoutQueued()));

    CreateDirectoryA(kInstallDir.c_str(), nullptr);
    CopyFileA("C:\\SAMPLE\\UNINSTAL.EXE", kUninstaller.c_str(), FALSE);
    texts.clear();
    EXPECT_EQ(2u, Uninstall(IDYES, &texts));
    ASSERT_EQ(1u, texts.size());
    // Without a script the product's name is the default one.
    EXPECT_EQ(
        "Qorva Uninstall: SETUP.INF cannot be read in the installation directory. Nothing "
        "was removed.",
        texts[0]);
}

// Unattended both ways and with no display: SETUP.EXE /S, then UNINSTAL.EXE /S, which asks
// nothing, does not restart and puts the machine back, but for the shared files of the
// Windows directories, which it keeps (with their count at 0). A bad switch changes nothing.
TEST_F(Uninstaller, SilentRoundTripWithoutDisplay) {
    SeedPs2Mouse();
    std::vector<std::string> before = MachineState();
    ASSERT_EQ(0u, RunWithoutDisplay(package, "/S /M=PS2", 60000));
    std::vector<std::string> installed = MachineState();
    ASSERT_NE(before, installed);

    EXPECT_EQ(5u, RunWithoutDisplay(kUninstaller, "/S /M=PS2"));
    EXPECT_EQ("", Differences(installed, MachineState()));
    EXPECT_EQ(0u, RunWithoutDisplay(kUninstaller, "/s /log=C:\\UNINST.LOG", 30000));
    std::string kept;
    for (const std::string& line : StateWithoutQueued())
        if (line.find("QXMOUSE.") != std::string::npos &&
            line.find("\\windows\\") != std::string::npos)
            kept += line + "\n";
    EXPECT_NE("", kept);
    std::vector<std::string> after = StateWithoutQueued();
    after.erase(std::remove_if(after.begin(), after.end(),
                               [](const std::string& l) {
                                   return l.find("QXMOUSE.") != std::string::npos &&
                                          l.find("\\windows\\") != std::string::npos;
                               }),
                after.end());
    EXPECT_EQ("", Differences(before, after));
    const std::string log = ReadFileBytes("C:\\UNINST.LOG");
    for (const char* text :
         {"\\DeviceDesc = \"Standard PS/2 Port Mouse\", was \"Qorva PS/2 Mouse\"",
          "[386Enh] after:  mouse=*vmd", "VMOUSE.BAK put back as", "shared file kept",
          "restart: none", "exit code 0"})
        EXPECT_NE(std::string::npos, log.find(text)) << text << "\n" << log;
}

// A file in use that cannot be queued either (wininit.ini is held open as well): the
// uninstaller names it and ends with exit code 3.
TEST_F(Uninstaller, AFileThatCanNeitherGoNorBeQueuedIsNamed) {
    SeedPs2Mouse();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    const std::string wininit = WindowsPath() + "\\wininit.ini";
    WriteFileBytes(wininit, "[rename]\r\n");
    HANDLE dll = CreateFileA((kInstallDir + "\\QXPAGE.DLL").c_str(), GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    HANDLE ini = CreateFileA(wininit.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, dll);
    ASSERT_NE(INVALID_HANDLE_VALUE, ini);
    std::vector<std::string> texts;
    EXPECT_EQ(3u, Uninstall(IDYES, &texts));
    CloseHandle(dll);
    CloseHandle(ini);
    const std::string left =
        "Qorva Mouse Uninstall: These files could not be removed, now or at the next start of "
        "Windows. Delete them yourself:\n\n" +
        kInstallDir + "\\QXPAGE.DLL\n" + kUninstaller;
    EXPECT_EQ(1, std::count(texts.begin(), texts.end(), left)) << ::testing::PrintToString(texts);
    EXPECT_EQ(0u, texts.back().find("Qorva Mouse Uninstall: Qorva Mouse has been removed."));
    EXPECT_TRUE(FileExists(kInstallDir + "\\QXPAGE.DLL"));
    EXPECT_FALSE(FileExists(kInstallDir + "\\QXMAIN.EXE"));
    EXPECT_EQ("[rename]\r\n", ReadFileBytes(wininit));
}

}  // namespace
