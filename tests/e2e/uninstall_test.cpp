// UNINSTAL.EXE end to end: the state of the machine is taken, the sample package installed
// and uninstalled again, and the state compared. The uninstaller is the one built beside
// $SETUP_EXE, shipped in the package and installed with it.
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
#include "support/winfiles.h"
#include "support/wizard_walk.h"

namespace {

const std::string kCurrent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kMouseClass = "System\\CurrentControlSet\\Services\\Class\\Mouse";
const std::string kInstallDir = "C:\\QORVA";
const std::string kUninstaller = kInstallDir + "\\UNINSTAL.EXE";

std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127)
            out += static_cast<char>(c);
        else
            out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    }
    return out;
}

void DumpKey(HKEY root, const std::string& label, const std::string& path,
             std::vector<std::string>& out) {
    if (!KeyExists(root, path)) return;
    out.push_back(label + path);
    for (const std::string& name : ValueNames(root, path)) {
        RegValue v = ReadValue(root, path, name);
        out.push_back(label + path + " |" + name + "| " + std::to_string(v.type) + " " +
                      Printable(v.data));
    }
    for (const std::string& sub : SubkeyNames(root, path))
        DumpKey(root, label, path + "\\" + sub, out);
}

void DumpFiles(const std::string& dir, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName, path = dir + "\\" + name;
        if (name == "." || name == "..") continue;
        out.push_back(path);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DumpFiles(path, out);
        else
            out.back() += " " + std::to_string(ReadFileBytes(path).size()) + " bytes";
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// What an installation touches, one line per key, value, file or line of system.ini.
std::vector<std::string> MachineState() {
    std::vector<std::string> s;
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", "Enum", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kMouseClass, s);
    DumpKey(HKEY_CLASSES_ROOT, "HKCR\\", "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kCurrent + "\\Controls Folder", s);
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kCurrent + "\\Uninstall\\Quillotrax", s);
    s.push_back("Run Quillotrax: " +
                ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Run", "Quillotrax"));
    std::string ini = ReadFileBytes(WindowsPath() + "\\system.ini");
    for (size_t at = 0, n = 0; at < ini.size(); ++n) {
        size_t end = ini.find('\n', at);
        end = end == std::string::npos ? ini.size() : end + 1;
        s.push_back("system.ini " + std::to_string(n) + ": " + Printable(ini.substr(at, end - at)));
        at = end;
    }
    DumpFiles(VmouseDir(), s);
    if (FileExists(kInstallDir)) s.push_back(kInstallDir);
    DumpFiles(kInstallDir, s);
    for (const char* f : {"\\QXMOUSE.INI", "\\INF\\QXMOUSE.INF", "\\SYSTEM\\QXMOUSE.DRV",
                          "\\SYSTEM32\\QXMOUSE.DRV", "\\SYSTEM32\\QXMOUSE.VXD"})
        if (FileExists(WindowsPath() + f)) s.push_back(WindowsPath() + f);
    std::sort(s.begin(), s.end());
    return s;
}

// The lines that differ, "-" before, "+" after. Values that the uninstaller leaves by
// design (ConfigFlags of a device key, MouseType of a class key) are not counted.
std::string Differences(const std::vector<std::string>& before,
                        const std::vector<std::string>& after) {
    std::string d;
    for (const std::string& l : before)
        if (!std::binary_search(after.begin(), after.end(), l)) d += "- " + l + "\n";
    for (const std::string& l : after)
        if (!std::binary_search(before.begin(), before.end(), l) &&
            l.find("|ConfigFlags|") == std::string::npos &&
            l.find("|MouseType|") == std::string::npos)
            d += "+ " + l + "\n";
    return d;
}

// Runs C:\QORVA\UNINSTAL.EXE; see RunUninstaller.
DWORD Uninstall(int firstAnswer, std::vector<std::string>* texts = nullptr, int restart = IDNO) {
    return RunUninstaller(kUninstaller, firstAnswer, texts, restart);
}

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

class Uninstaller : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetMachine();
        DeleteFileA((WindowsPath() + "\\wininit.ini").c_str());
        SeedOtherDevices();
        // A Windows 98 machine has these keys whatever its mouse.
        SetString(HKEY_LOCAL_MACHINE, kMouseClass, "", "Mouse");
        SetString(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", "DeviceDesc", "System board");
        package = MakeSamplePackage("SAMPLE");
        ASSERT_FALSE(package.empty());
    }
    std::string package;
};

struct RoundTrip {
    const char* name;
    std::function<void()> seed;
    int mouse;     // IDC_PS2 or IDC_SERIAL
    int installs;  // installations into C:\QORVA
    int switchTo;  // 0, or the mouse of a "SETUP.EXE -u" run from C:\QORVA
};

// Runs "C:\QORVA\SETUP.EXE -u" for the given mouse; it journals into C:\QORVA\SETUP.INF and
// restarts Windows, which starts the installed companion program again.
void SwitchFromInstallDir(const std::string& package, int mouse) {
    const std::string exe = kInstallDir + "\\SETUP.EXE";
    ASSERT_TRUE(CopyFileA(package.c_str(), exe.c_str(), FALSE));
    RunningProgram setup = StartProgram(exe, "-u");
    HWND box = SwitchModeChoose(setup, mouse);
    ASSERT_NE(nullptr, box);
    ClickItem(box, IDOK);
    EXPECT_EQ(0u, WaitProgramEnd(setup, 15000));
    StopProgram(setup);
    EXPECT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", 0, 30000)) << "no restart seen";
    DeleteFileA(exe.c_str());  // the copy is the test's, not the installation's
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
        if (c.switchTo != 0) SwitchFromInstallDir(package, c.switchTo);
        ASSERT_NE(before, MachineState());

        // The first case restarts: what was queued goes then.
        std::vector<std::string> texts;
        EXPECT_EQ(0u, Uninstall(IDYES, &texts, &c == cases ? IDYES : IDNO));
        if (&c == cases) {
            EXPECT_TRUE(
                WaitUntil([] { return !FileExists(kInstallDir + "\\UNINSTAL.EXE"); }, 30000))
                << "still there after the restart";
            EXPECT_FALSE(FileExists(WindowsPath() + "\\wininit.ini"));
            // The directory that held the uninstaller is left, empty.
            EXPECT_EQ("+ " + kInstallDir + "\n", Differences(before, MachineState()));
            continue;
        }
        ASSERT_EQ(2u, texts.size());
        EXPECT_EQ(0u,
                  texts[0].find("Qorva Mouse Uninstall: Qorva Mouse and its files will be removed"))
            << texts[0];
        EXPECT_EQ(0u, texts[1].find("Qorva Mouse Uninstall: Qorva Mouse has been removed."))
            << texts[1];
        if (c.installs == 2) {
            // system.bak held the first installation's line: Windows' own line goes back.
            for (std::string& l : before)
                if (l.find(": mouse=*vmd") != std::string::npos)
                    l = l.substr(0, l.find(": ") + 2) + "mouse=*vmouse, msmouse.vxd\\x0d\\x0a";
            std::sort(before.begin(), before.end());
        }
        EXPECT_EQ("", Differences(before, StateWithoutQueued()));
    }
}

// No at the first question changes nothing; Yes later does the work, and a second run,
// with the script put back, finds nothing more to do; without the script it says so.
TEST_F(Uninstaller, NoChangesNothingAndASecondRunFindsNothingMore) {
    SeedPs2Mouse();
    std::vector<std::string> before = MachineState();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    std::vector<std::string> installed = MachineState();
    const std::string script = ReadFileBytes(kInstallDir + "\\SETUP.INF");

    std::vector<std::string> texts;
    EXPECT_EQ(1u, Uninstall(IDNO, &texts));
    EXPECT_EQ(1u, texts.size());
    EXPECT_EQ("", Differences(installed, MachineState()));

    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_EQ("", Differences(before, StateWithoutQueued()));

    CreateDirectoryA(kInstallDir.c_str(), nullptr);
    WriteFileBytes(kInstallDir + "\\SETUP.INF", script);
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
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ(
        "Qorva Mouse Uninstall: These files could not be removed, now or at the next start of "
        "Windows. Delete them yourself:\n\n" +
            kInstallDir + "\\QXPAGE.DLL\n" + kUninstaller,
        texts[1]);
    EXPECT_TRUE(FileExists(kInstallDir + "\\QXPAGE.DLL"));
    EXPECT_FALSE(FileExists(kInstallDir + "\\QXMAIN.EXE"));
    EXPECT_EQ("[rename]\r\n", ReadFileBytes(wininit));
}

}  // namespace
