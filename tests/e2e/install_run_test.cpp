// Whole installations of the sample package on a virtual Windows 98 machine: files,
// registry, journal and system.ini after the finish page, for a PS/2 machine, a serial one,
// one without a mouse node, and a second installation over the first.
#include <gtest/gtest.h>

#include <vector>

#include "resource.h"
#include "support/machine.h"
#include "support/package.h"
#include "support/registry_util.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "support/wizard_walk.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectClassKey(...) ExpectClassKey_(__LINE__, __VA_ARGS__)
#define ExpectFilesInstalled() ExpectFilesInstalled_(__LINE__)
#define ExpectProductEntries() ExpectProductEntries_(__LINE__)
#define ExpectPs2JournalOfTheStandardMouse() ExpectPs2JournalOfTheStandardMouse_(__LINE__)
#define ExpectSystemIniPatched(...) ExpectSystemIniPatched_(__LINE__, __VA_ARGS__)

namespace {

const char kDevicePs2[] = "Enum\\BIOS\\*PNP0F13\\0000";
const char kDeviceSerial[] = "Enum\\ROOT\\*PNP0F0C\\0000";
const char kOwnSerialKey[] = "Enum\\Root\\QorvaMouse\\0000";
const char kClassPrefix[] = "System\\CurrentControlSet\\Services\\Class\\";
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kJournal[] = "C:\\QORVA\\SETUP.INF";

std::string Hklm(const std::string& path, const std::string& name) {
    return ReadText(HKEY_LOCAL_MACHINE, path, name);
}

std::string ClassKey(const std::string& driver) { return kClassPrefix + driver; }

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

class InstallRun : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetMachine();
        SeedOtherDevices();
        package = MakeSamplePackage("SAMPLE");
        ASSERT_FALSE(package.empty()) << "demo/make-package failed";
        systemIniBefore = ReadFileBytes(WindowsPath() + "\\system.ini");
        ASSERT_NE(std::string::npos, systemIniBefore.find("mouse=*vmd\r\n"));
    }

    // The companion program of an earlier installation, running with its window.
    void StartCompanion() {
        companion = StartProgram(ToolPath("qxmain.exe"));
        ASSERT_NE(nullptr, companion.process);
        ASSERT_NE(nullptr, WaitForTopWindow(nullptr, "Quillotrax", companion.id, 10000));
    }
    void TearDown() override { StopProgram(companion); }

    struct InstalledFile {
        std::string installed, original;
    };
    // Every file of the package where SETUP.INF sends it, and what it must hold.
    static std::vector<InstalledFile> PackageFiles() {
        const std::string pkg = "C:\\SAMPLE\\";
        return {
            {"C:\\QORVA\\QXMAIN.EXE", ToolPath("qxmain.exe")},
            {"C:\\QORVA\\QXPAGE.DLL", SampleSource("QXPAGE.DLL")},
            {"C:\\QORVA\\UNINSTAL.EXE", pkg + "UNINSTAL.EXE"},
            {"C:\\QORVA\\README.TXT", pkg + "README.TXT"},
            {"C:\\QORVA\\HELP\\QXHELP.TXT", SampleSource("HELP/QXHELP.TXT")},
            {"C:\\QORVA\\HELP\\IMAGES\\POINTER.BMP", SampleSource("HELP/IMAGES/POINTER.BMP")},
            {"C:\\QORVA\\DRIVER\\NOTES.TXT", pkg + "DRIVER\\NOTES.TXT"},
            {WindowsPath() + "\\SYSTEM\\QXMOUSE.DRV", SampleSource("SYSTEM/QXMOUSE.DRV")},
            {WindowsPath() + "\\SYSTEM\\QXMOUSE.VXD", SampleSource("SYSTEM/QXMOUSE.VXD")},
            {WindowsPath() + "\\INF\\QXMOUSE.INF", SampleSource("INF/QXMOUSE.INF")},
            {WindowsPath() + "\\QXMOUSE.INI", pkg + "WIN\\QXMOUSE.INI"},
        };
    }

    // Every file of the package where SETUP.INF sends it, packed ones expanded.
    void ExpectFilesInstalled_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        for (const auto& f : PackageFiles()) {
            std::string want = ReadFileBytes(f.original);
            ASSERT_FALSE(want.empty()) << f.original;
            EXPECT_EQ(want, ReadFileBytes(f.installed)) << f.installed;
        }
        // The script copy starts as the package's script; the journal is added to it.
        EXPECT_EQ("Qorva Mouse", ProfileValue(kJournal, "Main", "ProductName"));
    }

    void ExpectProductEntries_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        const std::string clsid = "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}";
        EXPECT_EQ("QXMouseControlPage", ReadText(HKEY_CLASSES_ROOT, clsid, ""));
        EXPECT_EQ("C:\\QORVA\\QXPAGE.DLL",
                  ReadText(HKEY_CLASSES_ROOT, clsid + "\\InProcServer32", ""));
        EXPECT_EQ("Apartment",
                  ReadText(HKEY_CLASSES_ROOT, clsid + "\\InProcServer32", "ThreadingModel"));
        const std::string handlers = std::string(kCurrentVersion) +
                                     "\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";
        EXPECT_EQ("QXMousePage", Hklm(handlers, ""));
        EXPECT_EQ("{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}", Hklm(handlers + "\\QXMousePage", ""));
        EXPECT_EQ("C:\\QORVA\\QXMAIN.EXE -startup",
                  Hklm(std::string(kCurrentVersion) + "\\Run", "Quillotrax"));
        const std::string uninstall = std::string(kCurrentVersion) + "\\Uninstall\\Quillotrax";
        EXPECT_EQ("Qorva Mouse Driver", Hklm(uninstall, "DisplayName"));
        EXPECT_EQ("C:\\QORVA\\UNINSTAL.EXE", Hklm(uninstall, "UninstallString"));
    }

    // The package's driver settings in a class key, for the given mouse type.
    void ExpectClassKey_(int line, const std::string& driver, bool ps2) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        const std::string key = ClassKey(driver);
        EXPECT_EQ(ps2 ? "Qorva PS/2 Mouse" : "Qorva Serial Mouse", Hklm(key, "DriverDesc"));
        EXPECT_EQ(ps2 ? "QXPS2" : "QXSERIAL", Hklm(key, "InfSection"));
        EXPECT_EQ(ps2 ? "PS2" : "Serial", Hklm(key, "MouseType"));
        EXPECT_EQ("QXMOUSE.DRV", Hklm(key, "MouseDriver"));
        EXPECT_EQ("QXMOUSE.INF", Hklm(key, "InfPath"));
        EXPECT_EQ("12-07-2026", Hklm(key, "DriverDate"));
        EXPECT_EQ("*vmouse", Hklm(key, "DevLoader"));
    }

    // The journal keeps the values the seeded standard PS/2 mouse had before the first run.
    void ExpectPs2JournalOfTheStandardMouse_(int line) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        EXPECT_EQ("Standard PS/2 Port Mouse", ProfileValue(kJournal, "PS2", "DeviceDesc"));
        EXPECT_EQ("(Standard mouse types)", ProfileValue(kJournal, "PS2", "Mfg"));
        EXPECT_EQ("mouse.drv", ProfileValue(kJournal, "PS2", "MouseDriver"));
        EXPECT_EQ("Standard PS/2 Port Mouse", ProfileValue(kJournal, "PS2", "DriverDesc"));
    }

    // The [386Enh] mouse line switched, the old file kept as system.bak, VMOUSE.VXD aside.
    void ExpectSystemIniPatched_(int line, const std::string& before) {
        SCOPED_TRACE(::testing::Message() << "called from line " << line);
        const std::string win = WindowsPath();
        EXPECT_EQ(before, ReadFileBytes(win + "\\system.bak"));
        std::string want = before;
        want.replace(want.find("mouse=*vmd\r\n"), 12, "mouse=*vmouse\r\n");
        EXPECT_EQ(want, ReadFileBytes(win + "\\system.ini"));
        EXPECT_FALSE(FileExists(win + "\\system.new"));
        EXPECT_FALSE(FileExists(VmouseDir() + "\\VMOUSE.VXD"));
        EXPECT_TRUE(FileExists(VmouseDir() + "\\VMOUSE.BAK"));
    }

    std::string package;
    std::string systemIniBefore;
    RunningProgram companion;
};

TEST_F(InstallRun, Ps2MachineGetsTheProductEntriesTheDriverAndTheJournal) {
    SeedPs2Mouse();
    StartCompanion();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));

    EXPECT_EQ(0u, WaitProgramEnd(companion, 5000)) << "the companion was not asked to close";
    ExpectProductEntries();

    EXPECT_EQ("Qorva PS/2 Mouse", Hklm(kDevicePs2, "DeviceDesc"));
    EXPECT_EQ("Qorva", Hklm(kDevicePs2, "Mfg"));
    EXPECT_EQ("Mouse\\0000", Hklm(kDevicePs2, "Driver"));
    RegValue flags = ReadValue(HKEY_LOCAL_MACHINE, kDevicePs2, "ConfigFlags");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), flags.type);
    EXPECT_EQ(std::string(4, '\0'), flags.data);
    ExpectClassKey("Mouse\\0000", true);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnSerialKey));

    // The journal holds the values as Windows had set them.
    const struct {
        const char *key, *value;
    } journal[] = {
        {"SubKey1", "Enum\\BIOS\\*PNP0F13\\0000"},
        {"DeviceDesc", "Standard PS/2 Port Mouse"},
        {"Mfg", "(Standard mouse types)"},
        {"SubKey2", "System\\CurrentControlSet\\Services\\Class\\Mouse\\0000"},
        {"MouseDriver", "mouse.drv"},
        {"InfPath", "MOUSE.INF"},
        {"DriverDesc", "Standard PS/2 Port Mouse"},
        {"DriverDate", " 4-23-1999"},  // kept inside quotes, blank and all
        {"InfSection", "PS2_Inst"},
    };
    for (const auto& j : journal) EXPECT_EQ(j.value, ProfileValue(kJournal, "PS2", j.key)) << j.key;
    EXPECT_EQ("<absent>", ProfileValue(kJournal, "Serial", "SubKey1"));

    ExpectSystemIniPatched(systemIniBefore);
    // "No, I will restart my computer later.": nothing restarted.
    EXPECT_EQ(std::string::npos, ReadFileBytes("C:\\QXMAIN.LOG").find("-startup"));
}

// A serial mouse chosen on a machine with a serial node and a PS/2 node: the serial
// device gets the driver, the PS/2 device stays as it was.
TEST_F(InstallRun, SerialMachineGetsTheSerialDriver) {
    SeedPs2Mouse();
    SeedSerialMouse();
    ASSERT_EQ("", InstallWith(package, IDC_SERIAL));

    ExpectProductEntries();
    EXPECT_EQ("Qorva Serial Mouse", Hklm(kDeviceSerial, "DeviceDesc"));
    EXPECT_EQ("Qorva", Hklm(kDeviceSerial, "Mfg"));
    EXPECT_EQ("Mouse\\0001", Hklm(kDeviceSerial, "Driver"));
    ExpectClassKey("Mouse\\0001", false);
    EXPECT_EQ("Standard PS/2 Port Mouse", Hklm(kDevicePs2, "DeviceDesc"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Hklm(ClassKey("Mouse\\0000"), "DriverDesc"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOwnSerialKey));

    EXPECT_EQ("Enum\\ROOT\\*PNP0F0C\\0000", ProfileValue(kJournal, "Serial", "SubKey1"));
    EXPECT_EQ("Standard Serial Mouse", ProfileValue(kJournal, "Serial", "DeviceDesc"));
    EXPECT_EQ("Ser_Inst", ProfileValue(kJournal, "Serial", "InfSection"));
    EXPECT_EQ("<absent>", ProfileValue(kJournal, "PS2", "SubKey1"));
    ExpectSystemIniPatched(systemIniBefore);
}

// No mouse in the running configuration and "Serial Mouse" chosen: the program makes a
// device key of its own with a serial detection function and a new class key beside the
// one a removed mouse left behind.
TEST_F(InstallRun, MachineWithoutMouseNodeGetsItsOwnSerialDeviceKey) {
    SetString(HKEY_LOCAL_MACHINE, ClassKey("Mouse\\0000"), "DriverDesc", "Old mouse");
    ASSERT_EQ("", InstallWith(package, IDC_SERIAL));

    ExpectProductEntries();
    EXPECT_EQ("Mouse", Hklm(kOwnSerialKey, "Class"));
    EXPECT_EQ("Qorva Serial Mouse", Hklm(kOwnSerialKey, "DeviceDesc"));
    EXPECT_EQ("Qorva", Hklm(kOwnSerialKey, "Mfg"));
    EXPECT_EQ("*:DETECTSERIALMOUSE", Hklm(kOwnSerialKey, "DetFunc"));
    EXPECT_EQ(std::string(4, '\0'), ReadValue(HKEY_LOCAL_MACHINE, kOwnSerialKey, "DetFlags").data);
    EXPECT_EQ("Mouse\\0001", Hklm(kOwnSerialKey, "Driver"));
    ExpectClassKey("Mouse\\0001", false);
    EXPECT_EQ("Old mouse", Hklm(ClassKey("Mouse\\0000"), "DriverDesc"));
    // Keys of its own replace nothing: no journal entries.
    EXPECT_EQ("<absent>", ProfileValue(kJournal, "Serial", "SubKey1"));
    EXPECT_EQ("<absent>", ProfileValue(kJournal, "Serial", "SubKey2"));
    ExpectSystemIniPatched(systemIniBefore);
}

// Installing the sample package again into the same directory: the files, entries and
// settings are written again; system.bak now holds the system.ini of the first run; the
// script copy is replaced by the package's, but keeps the journal of the values from
// before the first installation.
TEST_F(InstallRun, SecondInstallationOverTheFirst) {
    SeedPs2Mouse();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    const std::string afterFirst = ReadFileBytes(WindowsPath() + "\\system.ini");
    ASSERT_EQ("Standard PS/2 Port Mouse", ProfileValue(kJournal, "PS2", "DeviceDesc"));
    Sleep(2500);  // the second run's journal must not be read from Wine's cache of the first

    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    ExpectFilesInstalled();
    ExpectProductEntries();
    ExpectClassKey("Mouse\\0000", true);
    EXPECT_EQ("Qorva PS/2 Mouse", Hklm(kDevicePs2, "DeviceDesc"));
    EXPECT_EQ(afterFirst, ReadFileBytes(WindowsPath() + "\\system.bak"));
    EXPECT_EQ(afterFirst, ReadFileBytes(WindowsPath() + "\\system.ini"));
    ExpectPs2JournalOfTheStandardMouse();
}

// A package whose file lines do not list SETUP.INF: the first registration creates the
// journal in the installation directory, and a second installation keeps its values.
TEST_F(InstallRun, JournalKeepsTheFirstValuesWhenTheScriptIsNotCopied) {
    SeedPs2Mouse();
    std::string inf = ReadFileBytes("C:\\SAMPLE\\SETUP.INF");
    const std::string scriptLine = "1=SETUP.INF, SETUP.INF, Setup script and journal, RootDir";
    size_t at = inf.find(scriptLine);
    ASSERT_NE(std::string::npos, at);
    inf.replace(at, scriptLine.size(), "1=README.TXT, README.1ST, Read me first, RootDir");
    WriteFileBytes("C:\\SAMPLE\\SETUP.INF", inf);

    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    EXPECT_EQ("<absent>", ProfileValue(kJournal, "Main", "ProductName"));
    EXPECT_EQ("Standard PS/2 Port Mouse", ProfileValue(kJournal, "PS2", "DeviceDesc"));
    EXPECT_TRUE(FileExists("C:\\QORVA\\HELP\\IMAGES\\POINTER.BMP"));
    Sleep(2500);

    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    EXPECT_EQ("Qorva PS/2 Mouse", Hklm(kDevicePs2, "DeviceDesc"));
    ExpectPs2JournalOfTheStandardMouse();
}

// Unattended, with no display at all: what the walk installs, and a log that names every
// file written and every registry value set with the one it replaced.
TEST_F(InstallRun, SilentRunWithoutDisplayInstallsWhatTheWalkInstallsAndLogsIt) {
    SeedPs2Mouse();
    SeedSerialMouse();
    ASSERT_EQ(0u, RunWithoutDisplay(package, "/S /d=C:\\QORVA /M=SERIAL \"/LOG=C:\\Setup Log.txt\"",
                                    60000));

    ExpectFilesInstalled();
    ExpectProductEntries();
    EXPECT_EQ("Qorva Serial Mouse", Hklm(kDeviceSerial, "DeviceDesc"));
    ExpectClassKey("Mouse\\0001", false);
    EXPECT_EQ("Standard Serial Mouse", ProfileValue(kJournal, "Serial", "DeviceDesc"));
    ExpectSystemIniPatched(systemIniBefore);

    std::string log = Lower(ReadFileBytes("C:\\Setup Log.txt"));
    for (size_t at; (at = log.find("\\.\\")) != std::string::npos;)
        log.erase(at, 2);  // RootDir "."
    for (const auto& f : PackageFiles())
        EXPECT_NE(std::string::npos, log.find(Lower(" -> " + f.installed + ", "))) << f.installed;
    for (const char* text :
         {"script: c:\\sample\\setup.inf", "installation directory: c:\\qorva", "bytes, new",
          "enum\\root\\*pnp0f0c\\0000\\devicedesc = \"qorva serial mouse\", was \"standard serial "
          "mouse\"",
          "mouse\\0001\\driverdesc = \"qorva serial mouse\", was \"standard serial mouse\"",
          "uninstall\\quillotrax\\uninstallstring = \"c:\\qorva\\uninstal.exe\", was absent",
          "configflags = 00 00 00 00", "[386enh] before: mouse=*vmd",
          "[386enh] after:  mouse=*vmouse", "vmouse.vxd set aside as", "restart: none",
          "exit code 0"})
        EXPECT_NE(std::string::npos, log.find(text)) << text << "\n" << log;
}

// The registry below path (values, then subkeys), as text to compare; "" when absent.
std::string KeyTree(HKEY root, const std::string& path) {
    if (!KeyExists(root, path)) return "";
    std::string text = "[" + path + "]\n";
    for (const std::string& name : ValueNames(root, path)) {
        RegValue v = ReadValue(root, path, name);
        text += name + "=" + std::to_string(v.type) + ":" + v.data + "\n";
    }
    for (const std::string& sub : SubkeyNames(root, path)) text += KeyTree(root, path + "\\" + sub);
    return text;
}

// What an installation leaves: the files of the package where they land (the script copy
// with its journal and install record), every key and value it writes, system.ini.
std::string MachineState(const std::vector<std::string>& files) {
    std::string state;
    for (const std::string& f : files) state += f + "\n" + ReadFileBytes(f) + "\n";
    for (const char* key : {kDevicePs2, "System\\CurrentControlSet\\Services\\Class\\Mouse",
                            "Enum\\Root", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillotrax",
                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse"})
        state += KeyTree(HKEY_LOCAL_MACHINE, key);
    state += KeyTree(HKEY_CLASSES_ROOT, "CLSID\\{7C1D2A40-5E3B-11d2-9F4A-6B2C8E1D3F05}");
    for (const char* f : {"\\system.ini", "\\system.bak"})
        state += f + std::string("\n") + ReadFileBytes(WindowsPath() + f) + "\n";
    state += std::string("VMOUSE.BAK ") + (FileExists(VmouseDir() + "\\VMOUSE.BAK") ? "1" : "0");
    return state;
}

// The wizard walked with a PS/2 mouse and "C:\QORVA", and /S with the same choices on the
// same machine, each from a fresh start: the same files, registry values and system.ini.
TEST_F(InstallRun, WizardAndSilentRunLeaveTheSameMachine) {
    std::vector<std::string> files = {kJournal};
    for (const auto& f : PackageFiles()) files.push_back(f.installed);
    SeedPs2Mouse();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    const std::string walked = MachineState(files);

    ResetMachine();
    SeedOtherDevices();
    SeedPs2Mouse();
    ASSERT_EQ(0u, RunWithoutDisplay(package, "/S /D=C:\\QORVA /M=PS2", 60000));
    const std::string silent = MachineState(files);
    EXPECT_NE(std::string::npos, walked.find("Qorva PS/2 Mouse"));
    EXPECT_EQ(walked, silent);
}

// What an unattended run refuses ends it before anything is changed, each with its code.
TEST_F(InstallRun, SilentRefusalsChangeNothing) {
    SeedPs2Mouse();
    std::string noScript =
        MakeTestPackage("noscript", SmallSetupInf("Qorva Mouse", "C:\\QORVA", 1));
    ASSERT_FALSE(noScript.empty());
    DeleteFileA((noScript.substr(0, noScript.rfind('\\')) + "\\SETUP.INF").c_str());
    const struct {
        std::string exe, tail;
        DWORD code;
    } runs[] = {
        {noScript, "/S", 2},
        {package, "/S /D=QORVA", 3},          // not X:\...
        {package, "/S /D=Q:\\QORVA", 3},      // a drive that is not there has no room
        {package, "/S /D=C:\\NO\\QORVA", 3},  // C:\NO is a file
        {package, "/S /M=USB", 5},
        {package, "/X /S", 5},
        {package, "/S /LOG=C:\\NO\\SETUP.LOG", 6},
    };
    WriteFileBytes("C:\\NO", "a file, no directory", false);
    for (const auto& run : runs)
        EXPECT_EQ(run.code, RunWithoutDisplay(run.exe, run.tail)) << run.tail;
    EXPECT_EQ("a file, no directory", ReadFileBytes("C:\\NO"));
    DeleteFileA("C:\\NO");
    EXPECT_EQ(systemIniBefore, ReadFileBytes(WindowsPath() + "\\system.ini"));
    EXPECT_FALSE(FileExists("C:\\QORVA"));
    EXPECT_FALSE(FileExists("C:\\NO"));
    EXPECT_TRUE(FileExists(VmouseDir() + "\\VMOUSE.VXD"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Hklm(kDevicePs2, "DeviceDesc"));
    EXPECT_FALSE(
        KeyExists(HKEY_LOCAL_MACHINE, std::string(kCurrentVersion) + "\\Uninstall\\Quillotrax"));
}

// An installation directory so long that the script's paths below it pass 79 characters:
// the log says so and names the whole path, and the run is put back.
TEST_F(InstallRun, SilentRunOnAPathTooLongSaysSo) {
    SeedPs2Mouse();
    const std::string dir = "C:\\" + std::string(69, 'L');  // SETUP.INF below it makes 82
    EXPECT_EQ(1u, RunWithoutDisplay(package, "/S /D=" + dir + " /LOG=C:\\LONG.LOG", 60000));
    const std::string log = ReadFileBytes("C:\\LONG.LOG");
    EXPECT_NE(std::string::npos,
              log.find("error: a path is longer than 79 characters: C:\\SAMPLE\\.\\SETUP.INF -> " +
                       dir + "\\.\\SETUP.INF"))
        << log;
    EXPECT_FALSE(FileExists(dir));
    EXPECT_EQ(systemIniBefore, ReadFileBytes(WindowsPath() + "\\system.ini"));
    DeleteFileA("C:\\LONG.LOG");
}

// A destination drive that runs full during the copy: the run aborts at the first file that
// does not fit, with code 1, and system.ini stays as it was.
TEST_F(InstallRun, SilentRunOnAFullDiskAbortsAndLeavesSystemIniAlone) {
    ASSERT_TRUE(MountSmallDrive(256)) << "mounting a tmpfs needs root";
    // 16 KB left: room for the script, not for the companion program after it.
    FillSmallDrive(16 * 1024);
    std::string inf = ReadFileBytes("C:\\SAMPLE\\SETUP.INF");
    inf.replace(inf.find("MinimumSpace=1024"), 17, "MinimumSpace=4");
    WriteFileBytes("C:\\SAMPLE\\SETUP.INF", inf);

    EXPECT_EQ(1u, RunWithoutDisplay(package, "/S /D=E:\\QORVA /LOG=C:\\FULL.LOG", 60000));
    EXPECT_EQ(systemIniBefore, ReadFileBytes(WindowsPath() + "\\system.ini"));
    EXPECT_TRUE(FileExists(VmouseDir() + "\\VMOUSE.VXD"));
    EXPECT_FALSE(FileExists("E:\\QORVA\\README.TXT"));  // nothing after the failed file
    const std::string log = ReadFileBytes("C:\\FULL.LOG");
    EXPECT_NE(std::string::npos, log.find("error: the destination cannot be created or written: "))
        << log;
    EXPECT_NE(std::string::npos, log.find("answer: abort\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("exit code 1")) << log;
    UnmountSmallDrive();
}

}  // namespace
