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
const std::string kShared = kCurrent + "\\SharedDLLs";

std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127) out += static_cast<char>(c);
        else out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    }
    return out;
}

void DumpKey(HKEY root, const std::string& label, const std::string& path, std::vector<std::string>& out) {
    if (!KeyExists(root, path)) return;
    out.push_back(label + path);
    for (const std::string& name : ValueNames(root, path)) {
        RegValue v = ReadValue(root, path, name);
        out.push_back(label + path + " |" + name + "| " + std::to_string(v.type) + " " + Printable(v.data));
    }
    for (const std::string& sub : SubkeyNames(root, path)) DumpKey(root, label, path + "\\" + sub, out);
}

void DumpFiles(const std::string& dir, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName, path = dir + "\\" + name;
        if (name == "." || name == "..") continue;
        out.push_back(path);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DumpFiles(path, out);
        else out.back() += " " + std::to_string(ReadFileBytes(path).size()) + " bytes";
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
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM\\", kShared, s);
    s.push_back("Run Quillotrax: " + ReadText(HKEY_LOCAL_MACHINE, kCurrent + "\\Run", "Quillotrax"));
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
std::string Differences(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::string d;
    for (const std::string& l : before)
        if (!std::binary_search(after.begin(), after.end(), l)) d += "- " + l + "\n";
    for (const std::string& l : after)
        if (!std::binary_search(before.begin(), before.end(), l) &&
            l.find("|ConfigFlags|") == std::string::npos && l.find("|MouseType|") == std::string::npos)
            d += "+ " + l + "\n";
    return d;
}

// Runs C:\QORVA\UNINSTAL.EXE; see RunUninstaller.
DWORD Uninstall(int firstAnswer, std::vector<std::string>* texts = nullptr, int restart = IDNO,
                int shared = IDYES) {
    return RunUninstaller(kUninstaller, firstAnswer, texts, restart, shared);
}

// The count of a shared file; -1 when it has none.
long SharedCount(const std::string& path) {
    RegValue v = ReadValue(HKEY_LOCAL_MACHINE, kShared, path);
    if (v.type != REG_DWORD || v.data.size() != 4) return -1;
    return static_cast<unsigned char>(v.data[0]) | static_cast<unsigned char>(v.data[1]) << 8;
}

void SetSharedCount(const std::string& path, DWORD count) {
    SetRaw(HKEY_LOCAL_MACHINE, kShared, path, REG_DWORD, std::string(reinterpret_cast<const char*>(&count), 4));
}

// The shared files the sample package installs into the Windows directories.
std::vector<std::string> SampleSharedFiles() {
    std::vector<std::string> files;
    for (const char* f : {"\\SYSTEM\\QXMOUSE.DRV", "\\SYSTEM\\QXMOUSE.VXD", "\\INF\\QXMOUSE.INF", "\\QXMOUSE.INI"})
        files.push_back(WindowsPath() + f);
    return files;
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
    s.erase(std::remove_if(s.begin(), s.end(), [](const std::string& l) {
                return l == kInstallDir || l.rfind(kUninstaller + " ", 0) == 0;
            }), s.end());
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
        SetSharedCount(SystemPath() + "\\MFC42.DLL", 3);
        package = MakeSamplePackage("SAMPLE");
        ASSERT_FALSE(package.empty());
    }
    std::string package;
};

struct RoundTrip {
    const char* name;
    std::function<void()> seed;
    int mouse;            // IDC_PS2 or IDC_SERIAL
    int installs;         // installations into C:\QORVA
    int switchTo;         // 0, or the mouse of a "SETUP.EXE -u" run from C:\QORVA
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
        {"PS/2, then -u for the serial mouse", [] { SeedPs2Mouse(); SeedSerialMouse(); }, IDC_PS2, 1, IDC_SERIAL},
        {"two installations into one directory", SeedSerialMouse, IDC_SERIAL, 2, 0},
        {"two installations of the own serial key", [] {}, IDC_SERIAL, 2, 0},
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
            EXPECT_TRUE(WaitUntil([] { return !FileExists(kInstallDir + "\\UNINSTAL.EXE"); }, 30000))
                << "still there after the restart";
            EXPECT_FALSE(FileExists(WindowsPath() + "\\wininit.ini"));
            // The directory that held the uninstaller is left, empty.
            EXPECT_EQ("+ " + kInstallDir + "\n", Differences(before, MachineState()));
            continue;
        }
        // The question, one about each shared file that no program uses any more, the end.
        ASSERT_EQ(6u, texts.size());
        EXPECT_EQ(0u, texts[0].find("Qorva Mouse Uninstall: Qorva Mouse and its files will be removed"))
            << texts[0];
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ("Qorva Mouse Uninstall: As far as Windows knows, no program uses the shared file " +
                          SampleSharedFiles()[i - 1] + " any more. Do you want to remove it?",
                      texts[i]);
        EXPECT_EQ(0u, texts[5].find("Qorva Mouse Uninstall: Qorva Mouse has been removed.")) << texts[5];
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
    EXPECT_EQ("Qorva Uninstall: SETUP.INF cannot be read in the installation directory. Nothing "
              "was removed.", texts[0]);
}

// Started in the package, or beside a SETUP.INF copied away from its installation, the
// uninstaller finds no installation: it changes nothing and ends with exit code 2.
TEST_F(Uninstaller, OutsideAnInstallationItChangesNothing) {
    SeedPs2Mouse();
    std::vector<std::string> packageFiles, texts;
    DumpFiles("C:\\SAMPLE", packageFiles);
    std::vector<std::string> before = MachineState();
    EXPECT_EQ(2u, RunUninstaller("C:\\SAMPLE\\UNINSTAL.EXE", IDYES, &texts));
    EXPECT_EQ((std::vector<std::string>{"Qorva Mouse Uninstall: There is no installation of the product in "
                                        "this directory: its SETUP.INF holds no record of one. Nothing was changed."}),
              texts);
    EXPECT_EQ("", Differences(before, MachineState()));

    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    std::vector<std::string> installed = MachineState();
    EXPECT_EQ(2u, RunUninstaller("C:\\SAMPLE\\UNINSTAL.EXE", IDYES));
    CreateDirectoryA("C:\\COPY", nullptr);
    CopyFileA((kInstallDir + "\\SETUP.INF").c_str(), "C:\\COPY\\SETUP.INF", FALSE);
    CopyFileA(kUninstaller.c_str(), "C:\\COPY\\UNINSTAL.EXE", FALSE);
    EXPECT_EQ(2u, RunUninstaller("C:\\COPY\\UNINSTAL.EXE", IDYES));
    EXPECT_EQ("", Differences(installed, MachineState()));
    std::vector<std::string> packageAfter;
    DumpFiles("C:\\SAMPLE", packageAfter);
    EXPECT_EQ(packageFiles, packageAfter);
    RemoveTree("C:\\COPY");
}

// A file that stood in a Windows directory stays, its count back where it was (one without
// a count keeps the 1 it was given for its owner); of two products installing the same
// shared files, the first uninstall keeps them and the second asks and removes them on Yes.
TEST_F(Uninstaller, SharedFilesGoWhenNoProgramCountsThemAnyMore) {
    SeedPs2Mouse();
    const std::vector<std::string> shared = SampleSharedFiles();
    const std::string& drv = shared[0];
    const std::string& vxd = shared[1];
    WriteFileBytes(drv, "a driver that stood here without a count", false);
    WriteFileBytes(vxd, "a driver that stood here with a count", false);
    SetSharedCount(vxd, 3);
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    EXPECT_EQ(2, SharedCount(drv));
    EXPECT_EQ(4, SharedCount(vxd));
    EXPECT_EQ(1, SharedCount(shared[3]));
    std::vector<std::string> texts;
    EXPECT_EQ(0u, Uninstall(IDYES, &texts));
    EXPECT_EQ(4u, texts.size());  // asked about the INF and INI files alone
    EXPECT_TRUE(FileExists(drv));
    EXPECT_EQ(1, SharedCount(drv));
    EXPECT_TRUE(FileExists(vxd));
    EXPECT_EQ(3, SharedCount(vxd));
    EXPECT_FALSE(FileExists(shared[3]));
    EXPECT_EQ(-1, SharedCount(shared[3]));

    SetUp();
    SeedPs2Mouse();
    std::string other = MakeSamplePackage("OTHER");
    std::string script = ReadFileBytes("C:\\OTHER\\SETUP.INF");
    script.replace(script.find("DefaultPath=C:\\QORVA"), 20, "DefaultPath=C:\\OTHER2");
    WriteFileBytes("C:\\OTHER\\SETUP.INF", script);
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    ASSERT_EQ("", InstallWith(other, IDC_PS2));
    for (const std::string& f : shared) EXPECT_EQ(2, SharedCount(f)) << f;
    texts.clear();
    EXPECT_EQ(0u, RunUninstaller("C:\\OTHER2\\UNINSTAL.EXE", IDYES, &texts));
    EXPECT_EQ(2u, texts.size());  // no question about a shared file
    for (const std::string& f : shared) {
        EXPECT_TRUE(FileExists(f)) << f;
        EXPECT_EQ(1, SharedCount(f)) << f;
    }
    texts.clear();
    EXPECT_EQ(0u, Uninstall(IDYES, &texts));
    EXPECT_EQ(6u, texts.size());
    for (const std::string& f : shared) {
        EXPECT_FALSE(FileExists(f)) << f;
        EXPECT_EQ(-1, SharedCount(f)) << f;
    }
    RemoveTree("C:\\OTHER2");
}

// A journal may name only the keys that setup journals: another key, even another class's,
// keeps its subkeys and values, and the last message names it.
TEST_F(Uninstaller, AJournalNamingOtherKeysLeavesThem) {
    SeedPs2Mouse();
    const std::string display = "System\\CurrentControlSet\\Services\\Class\\Display";
    SetString(HKEY_LOCAL_MACHINE, display + "\\0000", "DriverDesc", "Standard display");
    SetString(HKEY_LOCAL_MACHINE, "Software\\QorvaTest", "Mfg", "kept");
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    const std::string script = kInstallDir + "\\SETUP.INF";
    WritePrivateProfileStringA("Serial", "SubKey1", "Software\\QorvaTest", script.c_str());
    WritePrivateProfileStringA("Serial", "Mfg", "", script.c_str());
    WritePrivateProfileStringA("Serial", "SubKey2", display.c_str(), script.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, script.c_str());
    std::vector<std::string> texts;
    EXPECT_EQ(0u, Uninstall(IDYES, &texts));
    EXPECT_EQ("Standard display", ReadText(HKEY_LOCAL_MACHINE, display + "\\0000", "DriverDesc"));
    EXPECT_EQ("kept", ReadText(HKEY_LOCAL_MACHINE, "Software\\QorvaTest", "Mfg"));
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(std::string::npos, texts.back().find("they were left as they are: Software\\QorvaTest; " + display + "."))
        << texts.back();
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\QorvaTest");
}

// Outside the installation directory (".." in file lines and a SubDir) only what setup made
// goes: a file it wrote where none stood and a directory it created; a file that stood there
// stays, and so does a directory that stood there, empty now.
TEST_F(Uninstaller, OutsideTheDirectoryOnlyWhatSetupMade) {
    std::string script = ReadFileBytes("C:\\SAMPLE\\SETUP.INF");
    script.replace(script.find("Disk1=8"), 7, "Disk1=12");
    script.insert(script.find("SubDir3="), "SubDir4=..\\QXNEW\r\n");
    script.insert(script.find("\n", script.find("8=SETUP.EXE")) + 1,
                  "9=README.TXT, ..\\QXOUT.TXT, Outside, RootDir\r\n"
                  "10=README.TXT, ..\\QXOLD.TXT, Stood there, RootDir\r\n"
                  "11=README.TXT, ..\\QXPRE\\P.TXT, Into a directory that stood, RootDir\r\n"
                  "12=README.TXT, ..\\QXNEW\\N.TXT, Into a directory setup made, RootDir\r\n");
    WriteFileBytes("C:\\SAMPLE\\SETUP.INF", script);
    WriteFileBytes("C:\\QXOLD.TXT", "stood here", false);
    CreateDirectoryA("C:\\QXPRE", nullptr);
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    for (const char* f : {"C:\\QXOUT.TXT", "C:\\QXPRE\\P.TXT", "C:\\QXNEW\\N.TXT"}) ASSERT_TRUE(FileExists(f)) << f;

    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_FALSE(FileExists("C:\\QXOUT.TXT"));
    EXPECT_TRUE(FileExists("C:\\QXOLD.TXT"));
    EXPECT_FALSE(FileExists("C:\\QXPRE\\P.TXT"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\QXPRE"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\QXNEW"));
    DeleteFileA("C:\\QXOLD.TXT");
    RemoveDirectoryA("C:\\QXPRE");
}

}  // namespace
