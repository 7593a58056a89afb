// The loader against the real profile functions and registry: whole SETUP.INF files in
// package directories of their own, loaded in process with LoadSetupScriptFrom. Only the
// directory that SETUP.EXE derives from its own path needs a program started from there:
// that case copies this test program into place and runs it as a child (LoaderChild).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "script/fileline.h"
#include "script/loader.h"
#include "script/model.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

// The checks report the line of their caller, as Wine's tests do.
#define ExpectDefaults(...) ExpectDefaults_(__LINE__, __VA_ARGS__)

namespace {

const char kDumpVar[] = "SCRIPT_LOADER_DUMP";  // where the child writes the model

// The model as the child saw it: "Name=value" pairs.
struct Model {
    std::map<std::string, std::string> values;
    std::string operator[](const std::string& name) const {
        auto it = values.find(name);
        return it == values.end() ? "<absent>" : it->second;
    }
};

struct RunOptions {
    std::string windowsDir;  // empty: the platform's Windows directory
    std::string hklmKey;     // empty: the real HKEY_LOCAL_MACHINE
};

std::string SelfPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

// Reads the install model as the loader left it; releases the file table.
Model ReadModel(int result) {
    Model model;
    auto put = [&model](const std::string& name, const std::string& value) {
        model.values[name] = value;
    };
    put("Result", std::to_string(result));
    put("SourceDir", Shared::SourceDir);
    put("ScriptPath", Shared::ScriptPath);
    put("InstallDir", Shared::InstallDir);
    put("ProductName", Shared::ProductName);
    put("SetupCaption", Shared::SetupCaption);
    put("MinimumSpace", std::to_string(Shared::MinimumSpace));
    put("DiskCount", std::to_string(Shared::DiskSet.DiskCount));
    put("TotalFiles", std::to_string(Shared::TotalFiles));
    put("FileTableReady", Shared::FileTable != nullptr ? "1" : "0");
    for (int n = 0; n < kMaxDisks; ++n) {
        std::string d = "Disk" + std::to_string(n + 1);
        put(d + ".Label", Shared::DiskSet.Disk[n].DiskLabelText);
        if (n < Shared::DiskSet.DiskCount) {
            put(d + ".FileCount", std::to_string(Shared::DiskSet.Disk[n].FileCount));
            put(d + ".FirstEntry", std::to_string(Shared::DiskSet.Disk[n].FirstEntry));
        }
    }
    for (int k = 0; k < kDirKeyCount; ++k) put("Dir" + std::to_string(k), Shared::DirTable[k]);
    for (int i = 0; Shared::FileTable != nullptr && i < Shared::TotalFiles; ++i) {
        const FileEntry& e = Shared::FileTable[i];
        put("Entry" + std::to_string(i), std::string(e.DirName) + "|" + e.DestDir + "|" +
                                             e.SourceFile + "|" + e.DestFile + "|" + e.Description +
                                             "|" + std::to_string(e.DestIsAbsolute));
    }
    put("OemMode", std::to_string(Shared::OemMode));
    put("MouseKind", std::to_string(Shared::MouseKind));
    const DriverProfileModel& p = Shared::DriverProfile;
    put("Profile.Title", p.Title);
    put("Profile.Mfg", p.Mfg);
    put("Profile.MouseDriver", p.MouseDriver);
    put("Profile.MouseInf", p.MouseInf);
    put("Profile.DriverDate", p.DriverDate);
    put("Profile.PS2InfSection", p.PS2InfSection);
    put("Profile.SerialInfSection", p.SerialInfSection);
    put("Profile.PS2Name", p.PS2Name);
    put("Profile.SeialName", p.SeialName);
    ReleaseFileTable();
    return model;
}

using OverridePredefKey = LONG(WINAPI*)(HKEY, HKEY);

OverridePredefKey RegistryOverride() {
    return reinterpret_cast<OverridePredefKey>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegOverridePredefKey")));
}

// Loads the package in dir in process, with the Windows directory and the HKLM stand-in
// that options ask for; returns what was loaded.
Model LoadFrom(const std::string& dir, const RunOptions& options = RunOptions()) {
    Shared::AppInstance = GetModuleHandleA(nullptr);
    if (!options.windowsDir.empty())
        lstrcpynA(Shared::WindowsDir, options.windowsDir.c_str(), kDirWidth);
    else
        GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    HKEY scratch = nullptr;
    if (!options.hklmKey.empty()) {
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_CURRENT_USER, options.hklmKey.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &scratch, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegistryOverride()(HKEY_LOCAL_MACHINE, scratch));
    }
    int result = LoadSetupScriptFrom(dir.c_str());
    if (scratch != nullptr) {
        RegistryOverride()(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(scratch);
    }
    return ReadModel(result);
}

// Runs the copy of this program at exePath as the loader child, which loads the script
// beside itself as SETUP.EXE does; returns what it loaded.
Model RunLoaderAt(const std::string& exePath) {
    std::string scratch = MakeScratchDir("loader-dump");
    std::string dump = scratch + "\\model.txt";
    std::string log = scratch + "\\child.log";
    SetEnvironmentVariableA(kDumpVar, dump.c_str());
    std::string command = "\"" + exePath + "\" --gtest_filter=LoaderChild.LoadAndWriteModel";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE output = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Model model;
    DWORD exitCode = 1;
    RunningProgram child = StartCommand(command, "", output);
    if (child.process != nullptr) {
        WaitForSingleObject(child.process, 300000);
        GetExitCodeProcess(child.process, &exitCode);
        CloseHandle(child.process);
    }
    CloseHandle(output);
    EXPECT_EQ(0u, exitCode) << "the loader child failed:\n" << ReadFileBytes(log);
    SetEnvironmentVariableA(kDumpVar, nullptr);
    std::istringstream in(ReadFileBytes(dump));
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) model.values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return model;
}

// A package directory C:\tests\<name> with the given script (none when script is null);
// loads it and returns the model.
Model LoadPackage(const std::string& name, const char* script,
                  const RunOptions& options = RunOptions(), std::string* dirOut = nullptr) {
    std::string dir = MakeScratchDir(name);
    if (script != nullptr) WriteFileBytes(dir + "\\SETUP.INF", script);
    if (dirOut != nullptr) *dirOut = dir;
    return LoadFrom(dir, options);
}

std::string Repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

// Checks every value that a script without any of our sections leaves at its default.
void ExpectDefaults_(int line, const Model& m, const std::string& dir) {
    SCOPED_TRACE(::testing::Message() << "called from line " << line);
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ(dir, m["SourceDir"]);
    EXPECT_EQ(dir + "\\SETUP.INF", m["ScriptPath"]);
    EXPECT_EQ(WindowsPath().substr(0, 1) + ":\\QORVA", m["InstallDir"]);
    EXPECT_EQ("Qorva", m["ProductName"]);
    EXPECT_EQ("Qorva Setup Program", m["SetupCaption"]);
    EXPECT_EQ("1024", m["MinimumSpace"]);
    EXPECT_EQ("0", m["DiskCount"]);
    EXPECT_EQ("0", m["TotalFiles"]);
    EXPECT_EQ("1", m["FileTableReady"]);
    for (int k = 0; k < kDirKeyCount; ++k) EXPECT_EQ("", m["Dir" + std::to_string(k)]) << k;
    EXPECT_EQ("0", m["OemMode"]);
    EXPECT_EQ("1", m["MouseKind"]);
    for (const char* f : {"Title", "Mfg", "MouseDriver", "MouseInf", "DriverDate", "PS2InfSection",
                          "SerialInfSection", "PS2Name", "SeialName"})
        EXPECT_EQ("", m[std::string("Profile.") + f]) << f;
}

// One entry as "DirName|DestDir|SourceFile|DestFile|Description|DestIsAbsolute".
std::string Entry(const Model& m, int i) { return m["Entry" + std::to_string(i)]; }

}  // namespace

// ---- the child ----

TEST(LoaderChild, LoadAndWriteModel) {
    const std::string dump = EnvText(kDumpVar);
    if (dump.empty()) GTEST_SKIP() << "runs only as the child of a loader test";
    Shared::AppInstance = GetModuleHandleA(nullptr);
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    Model m = ReadModel(LoadSetupScript());
    std::string out;
    for (const auto& v : m.values) out += v.first + "=" + v.second + "\n";
    WriteFileBytes(dump, out, false);
}

// ---- the cases ----

TEST(Loader, MissingScriptOrSectionsLoadWithEveryDefault) {
    std::string dir;
    Model m = LoadPackage("missing", nullptr, RunOptions(), &dir);
    ExpectDefaults(m, dir);

    m = LoadPackage("nosections", "; nothing of ours here\r\n[Other]\r\nDefaultPath=D:\\X\r\n",
                    RunOptions(), &dir);
    ExpectDefaults(m, dir);

    // Sections present but empty, and labels all empty: still no disk.
    m = LoadPackage("emptysections",
                    "[Main]\r\n[DiskLabel]\r\nDisk1=\r\n[FileCounts]\r\nDisk1=3\r\n"
                    "[Disk1]\r\n1=A,B,C,RootDir\r\n[Startup]\r\n",
                    RunOptions(), &dir);
    ExpectDefaults(m, dir);
}

TEST(Loader, TypicalPackage) {
    std::string dir;
    Model m = LoadPackage("typical",
                          "[Main]\r\n"
                          "DefaultPath=C:\\QXMOUSE\r\n"
                          "ProductName=Qorva Mouse 3.1\r\n"
                          "MinimumSpace=1500\r\n"
                          "OEM=1\r\n"
                          "DefaultSerialMouse=0\r\n"
                          "[DiskLabel]\r\nDisk1=Driver disk\r\nDisk2=Utilities\r\n"
                          "[DirectoryName]\r\n"
                          "RootDir=BASE\r\nSubDir1=DRIVERS\r\nSubDir2=HELP\r\n"
                          "subdir6=EXTRA\r\nWinDir=WIN\r\nWinSystemDir=SYS\r\nWININFDIR=INF\r\n"
                          "[FileCounts]\r\nDisk1=4\r\nDisk2=3\r\n"
                          "[Disk1]\r\n"
                          "1= QXMAIN.EX_ ,  QXMAIN.EXE,Mouse  control program ,subdir1\r\n"
                          "2=QXPAGE.DL_,QXPAGE.DLL,Property page,WinSystemDir\r\n"
                          "3=QXMOUSE.IN_,QXMOUSE.INF,Driver information,wininfdir\r\n"
                          "4=QXM.INI,QXM.INI,Settings,WINDIR\r\n"
                          "[Disk2]\r\n"
                          "1=README.TXT,README.TXT\r\n"
                          "2=UNINSTAL.EXE,UNINSTAL.EXE,Uninstaller,RootDir,ignored,too\r\n"
                          "3=HELP.HLP,HELP.HLP,Help,SubDir9\r\n"
                          "[Startup]\r\n"
                          "Title=Qorva Mouse Driver\r\nMfg=Qorva\r\nMouseDriver=qxmouse.drv\r\n"
                          "MouseInf=QXMOUSE.INF\r\nDriverDate=10-01-1998\r\n"
                          "PS2InfSection=QXPS2\r\nSerialInfSection=QXSER\r\n"
                          "PS2Name=Qorva PS/2 Mouse\r\nSeialName=Qorva Serial Mouse\r\n",
                          RunOptions(), &dir);
    std::string drive = WindowsPath().substr(0, 1);
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ(dir, m["SourceDir"]);
    EXPECT_EQ(drive + ":\\QXMOUSE", m["InstallDir"]);
    EXPECT_EQ("Qorva Mouse 3.1", m["ProductName"]);
    EXPECT_EQ("Qorva Mouse 3.1 Setup Program", m["SetupCaption"]);
    EXPECT_EQ("1500", m["MinimumSpace"]);
    EXPECT_EQ("2", m["DiskCount"]);
    EXPECT_EQ("7", m["TotalFiles"]);
    EXPECT_EQ("Driver disk", m["Disk1.Label"]);
    EXPECT_EQ("4", m["Disk1.FileCount"]);
    EXPECT_EQ("0", m["Disk1.FirstEntry"]);
    EXPECT_EQ("3", m["Disk2.FileCount"]);
    EXPECT_EQ("4", m["Disk2.FirstEntry"]);
    const char* dirs[] = {"BASE", "DRIVERS", "HELP", "", "", "", "EXTRA", "WIN", "SYS", "INF"};
    for (int k = 0; k < kDirKeyCount; ++k) EXPECT_EQ(dirs[k], m["Dir" + std::to_string(k)]) << k;

    std::string win = WindowsPath();
    EXPECT_EQ("DRIVERS|DRIVERS|QXMAIN.EX_|QXMAIN.EXE|Mouse  control program|0", Entry(m, 0));
    EXPECT_EQ("SYS|" + win + "\\SYSTEM|QXPAGE.DL_|QXPAGE.DLL|Property page|1", Entry(m, 1));
    EXPECT_EQ("INF|" + win + "\\INF|QXMOUSE.IN_|QXMOUSE.INF|Driver information|1", Entry(m, 2));
    EXPECT_EQ("WIN|" + win + "|QXM.INI|QXM.INI|Settings|1", Entry(m, 3));
    EXPECT_EQ("||README.TXT|README.TXT||0", Entry(m, 4));
    EXPECT_EQ("BASE|BASE|UNINSTAL.EXE|UNINSTAL.EXE|Uninstaller|0", Entry(m, 5));
    EXPECT_EQ("||HELP.HLP|HELP.HLP|Help|0", Entry(m, 6));

    EXPECT_EQ("1", m["OemMode"]);
    EXPECT_EQ("0", m["MouseKind"]);
    EXPECT_EQ("Qorva Mouse Driver", m["Profile.Title"]);
    EXPECT_EQ("Qorva", m["Profile.Mfg"]);
    EXPECT_EQ("qxmouse.drv", m["Profile.MouseDriver"]);
    EXPECT_EQ("QXMOUSE.INF", m["Profile.MouseInf"]);
    EXPECT_EQ("10-01-1998", m["Profile.DriverDate"]);
    EXPECT_EQ("QXPS2", m["Profile.PS2InfSection"]);
    EXPECT_EQ("QXSER", m["Profile.SerialInfSection"]);
    EXPECT_EQ("Qorva PS/2 Mouse", m["Profile.PS2Name"]);
    EXPECT_EQ("Qorva Serial Mouse", m["Profile.SeialName"]);
}

TEST(Loader, LabelGapsAndCountGaps) {
    // Disk1 and Disk3 labelled: two disks, which are Disk1 and Disk2; [Disk3] is not read.
    // [Disk1] lacks key 2 and has a key beyond its count.
    Model m = LoadPackage("gaps",
                          "[DiskLabel]\r\nDisk1=One\r\nDisk3=Three\r\n"
                          "[DirectoryName]\r\nSubDir1=S1\r\n"
                          "[FileCounts]\r\nDisk1=3\r\nDisk2=1\r\nDisk3=5\r\n"
                          "[Disk1]\r\n1=A1,A1,,SubDir1\r\n3=A3,A3,,SubDir1\r\n4=A4,A4,,SubDir1\r\n"
                          "[Disk2]\r\n1=B1,B1,,SubDir1\r\n"
                          "[Disk3]\r\n1=C1,C1,,SubDir1\r\n");
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ("2", m["DiskCount"]);
    EXPECT_EQ("4", m["TotalFiles"]);
    EXPECT_EQ("3", m["Disk1.FileCount"]);
    EXPECT_EQ("1", m["Disk2.FileCount"]);
    EXPECT_EQ("3", m["Disk2.FirstEntry"]);
    EXPECT_EQ("Three", m["Disk3.Label"]);
    EXPECT_EQ("<absent>", m["Disk3.FileCount"]);
    EXPECT_EQ("S1|S1|A1|A1||0", Entry(m, 0));
    EXPECT_EQ("|||||0", Entry(m, 1));
    EXPECT_EQ("S1|S1|A3|A3||0", Entry(m, 2));
    EXPECT_EQ("S1|S1|B1|B1||0", Entry(m, 3));
    EXPECT_EQ("<absent>", Entry(m, 4));
}

TEST(Loader, CountsNegativeZeroAndTooMany) {
    // A negative count is no lines; a disk with count 0 still counts as a disk.
    Model m = LoadPackage("negative",
                          "[DiskLabel]\r\nDisk1=A\r\nDisk2=B\r\nDisk3=C\r\n"
                          "[FileCounts]\r\nDisk1=-4\r\nDisk2=0\r\nDisk3=2\r\n"
                          "[Disk1]\r\n1=X,X\r\n[Disk3]\r\n1=Y,Y\r\n2=Z,Z\r\n");
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ("3", m["DiskCount"]);
    EXPECT_EQ("2", m["TotalFiles"]);
    EXPECT_EQ("0", m["Disk1.FileCount"]);
    EXPECT_EQ("0", m["Disk3.FirstEntry"]);
    EXPECT_EQ("||Y|Y||0", Entry(m, 0));

    // More than 32767 lines in all, or in one disk (never read as its low 16 bits): the load
    // fails after the counts, before any line is read.
    for (const char* counts : {"Disk1=20000\r\nDisk2=12768\r\n", "Disk1=65537\r\nDisk2=0\r\n",
                               "Disk1=40000\r\nDisk2=-10000\r\n"}) {
        std::string script = std::string(
                                 "[Main]\r\nProductName=Big\r\nOEM=1\r\n"
                                 "[DiskLabel]\r\nDisk1=A\r\nDisk2=B\r\n[FileCounts]\r\n") +
                             counts;
        m = LoadPackage("toomany", script.c_str());
        EXPECT_EQ("0", m["Result"]) << counts;
        EXPECT_EQ("Big", m["ProductName"]) << counts;
        EXPECT_EQ("Big Setup Program", m["SetupCaption"]) << counts;
        EXPECT_EQ("0", m["FileTableReady"]) << counts;
        EXPECT_EQ("0", m["OemMode"]) << counts;  // not read after a failure
    }

    // Exactly 32767 in all is fine (the maximal script below reads them all).
    m = LoadPackage(
        "justenough",
        "[DiskLabel]\r\nDisk1=A\r\nDisk2=B\r\n[FileCounts]\r\nDisk1=32000\r\nDisk2=767\r\n");
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ("32767", m["TotalFiles"]);
    EXPECT_EQ("|||||0", Entry(m, 32766));
}

TEST(Loader, MinimumSpaceKeepsValuesBeyondSixteenBits) {
    for (const char* v : {"0", "-5", "32767", "40000", "70000"}) {
        std::string script = std::string("[Main]\r\nMinimumSpace=") + v + "\r\n";
        EXPECT_EQ(v, LoadPackage("space", script.c_str())["MinimumSpace"]);
    }
}

TEST(Loader, DefaultPathRule) {
    std::string drive = WindowsPath().substr(0, 1);
    // Empty: the programs directory and one backslash.
    EXPECT_EQ("C:\\Program Files\\",
              LoadPackage("dp-empty", "[Main]\r\nDefaultPath=\r\n")["InstallDir"]);
    // Another drive: the Windows directory's drive, the rest unchanged.
    EXPECT_EQ(
        drive + ":\\Tools\\Qorva Mouse",
        LoadPackage("dp-drive", "[Main]\r\nDefaultPath=Q:\\Tools\\Qorva Mouse\r\n")["InstallDir"]);
    RunOptions onE;
    onE.windowsDir = "E:\\WIN98";
    EXPECT_EQ("E:\\QORVA", LoadPackage("dp-windrive", nullptr, onE)["InstallDir"]);
    // Relative, with or without a leading backslash, and a drive alone.
    EXPECT_EQ("C:\\Program Files\\Qorva\\Mouse",
              LoadPackage("dp-rel", "[Main]\r\nDefaultPath=Qorva\\Mouse\r\n")["InstallDir"]);
    EXPECT_EQ("C:\\Program Files\\Qorva\\Mouse",
              LoadPackage("dp-slash", "[Main]\r\nDefaultPath=\\Qorva\\Mouse\r\n")["InstallDir"]);
    EXPECT_EQ("C:\\Program Files\\D:",
              LoadPackage("dp-drivealone", "[Main]\r\nDefaultPath=D:\r\n")["InstallDir"]);
}

TEST(Loader, ProgramsDirectoryFromTheRegistryOrTheFallback) {
    const char* scratch = "Software\\ScriptLoaderTest";
    const char* cv = "Software\\ScriptLoaderTest\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    auto deleteTree = reinterpret_cast<LONG(WINAPI*)(HKEY, const char*)>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteTreeA")));
    ASSERT_NE(nullptr, deleteTree);
    deleteTree(HKEY_CURRENT_USER, scratch);
    RunOptions mapped;
    mapped.hklmKey = scratch;
    const char* relative = "[Main]\r\nDefaultPath=Qorva\r\n";

    // The key cannot be opened.
    EXPECT_EQ("C:\\Program Files\\Qorva", LoadPackage("pf-nokey", relative, mapped)["InstallDir"]);

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, cv, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    auto setValue = [key](const std::string& v) {
        RegSetValueExA(key, "ProgramFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                       static_cast<DWORD>(v.size() + 1));
    };
    // The value is absent, empty, or longer than 79 characters: the same fallback.
    EXPECT_EQ("C:\\Program Files\\Qorva",
              LoadPackage("pf-novalue", relative, mapped)["InstallDir"]);
    setValue("");
    EXPECT_EQ("C:\\Program Files\\Qorva",
              LoadPackage("pf-emptyvalue", relative, mapped)["InstallDir"]);
    setValue("D:\\" + Repeat('a', 77));  // 80 characters
    EXPECT_EQ("C:\\Program Files\\Qorva", LoadPackage("pf-long", relative, mapped)["InstallDir"]);

    // A value that is there is used.
    setValue("D:\\Apps");
    EXPECT_EQ("D:\\Apps\\Qorva", LoadPackage("pf-value", relative, mapped)["InstallDir"]);
    // 79 characters fit, but nothing can be appended: the destination is left empty rather
    // than cut into another directory.
    setValue("D:\\" + Repeat('a', 76));
    EXPECT_EQ("", LoadPackage("pf-nofit", relative, mapped)["InstallDir"]);
    setValue("D:\\" + Repeat('a', 75));  // 78 characters and one backslash fit
    EXPECT_EQ("D:\\" + Repeat('a', 75) + "\\",
              LoadPackage("pf-fit", "[Main]\r\nDefaultPath=\r\n", mapped)["InstallDir"]);
    RegCloseKey(key);
    deleteTree(HKEY_CURRENT_USER, scratch);
}

TEST(Loader, LongValuesAreCutToTheirWidthLessOne) {
    std::string p = Repeat('p', 100);
    std::string script = "[Main]\r\nDefaultPath=D:\\" + Repeat('d', 100) + "\r\nProductName=" + p +
                         "\r\n[DiskLabel]\r\nDisk1=" + Repeat('l', 100) +
                         "\r\n[DirectoryName]\r\nRootDir=" + Repeat('r', 100) +
                         "\r\nSubDir1=" + Repeat('s', 39) + "\r\nSubDir2=" + Repeat('t', 40) +
                         "\r\n[FileCounts]\r\nDisk1=4\r\n[Disk1]\r\n"
                         "1=A.DLL,A.DLL," +
                         Repeat('x', 70) +
                         ",SubDir1\r\n"
                         "2=A.DLL,A.DLL,Text,SubDir2\r\n"
                         "3=ABCDEFGHIJK.DLL,A.DLL,Text,SubDir1\r\n"
                         "4=A.DLL,A.DLL," +
                         Repeat('y', 110) +
                         ",SubDir1\r\n"
                         "[Startup]\r\nTitle=" +
                         Repeat('T', 100) + "\r\nMfg=" + Repeat('M', 100) +
                         "\r\nSeialName=" + Repeat('S', 40) + "\r\n";
    Model m = LoadPackage("long", script.c_str());
    EXPECT_EQ("1", m["Result"]);
    EXPECT_EQ(WindowsPath().substr(0, 1) + ":\\" + Repeat('d', 76), m["InstallDir"]);
    EXPECT_EQ(Repeat('p', 71), m["ProductName"]);
    EXPECT_EQ(Repeat('p', 71) + " Setup P", m["SetupCaption"]);  // a caption, cut at 79
    EXPECT_EQ(Repeat('l', 39), m["Disk1.Label"]);
    EXPECT_EQ(Repeat('r', 79), m["Dir0"]);
    EXPECT_EQ(Repeat('t', 40), m["Dir2"]);
    EXPECT_EQ(Repeat('s', 39) + "|" + Repeat('s', 39) + "|A.DLL|A.DLL|" + Repeat('x', 61) + "|0",
              Entry(m, 0));
    EXPECT_EQ("||||Text|0", Entry(m, 1));  // its directory does not fit the entry
    EXPECT_EQ("||||Text|0", Entry(m, 2));  // its source name does not fit
    // The line is cut to 127 characters, which cuts the directory key off.
    EXPECT_EQ("||A.DLL|A.DLL|" + Repeat('y', 61) + "|0", Entry(m, 3));
    EXPECT_EQ(Repeat('T', 79), m["Profile.Title"]);
    EXPECT_EQ(Repeat('M', 39), m["Profile.Mfg"]);
    EXPECT_EQ(Repeat('S', 39), m["Profile.SeialName"]);
}

TEST(Loader, WindowsDirectoryTooLongForAnEntry) {
    RunOptions longWin;
    longWin.windowsDir = "C:\\" + Repeat('w', 32);  // 35: "\INF" fits, "\SYSTEM" does not
    Model m = LoadPackage("longwin",
                          "[DiskLabel]\r\nDisk1=A\r\n[DirectoryName]\r\nWinSystemDir=SYS\r\n"
                          "WinInfDir=INF\r\n[FileCounts]\r\nDisk1=2\r\n"
                          "[Disk1]\r\n1=A.VXD,A.VXD,Driver,WinSystemDir\r\n"
                          "2=A.INF,A.INF,Information,WinInfDir\r\n",
                          longWin);
    EXPECT_EQ("||||Driver|0", Entry(m, 0));
    EXPECT_EQ("INF|" + longWin.windowsDir + "\\INF|A.INF|A.INF|Information|1", Entry(m, 1));
}

TEST(Loader, SourceDirectoryFromWhereTheProgramRuns) {
    // In the root of a drive: SourceDir is the drive alone.
    std::string exe = "C:\\SETUP.EXE";
    CopyFileA(SelfPath().c_str(), exe.c_str(), FALSE);
    WriteFileBytes("C:\\SETUP.INF", "[Main]\r\nProductName=From the root\r\n");
    Model m = RunLoaderAt(exe);
    DeleteFileA("C:\\SETUP.INF");
    DeleteFileA(exe.c_str());
    EXPECT_EQ("C:", m["SourceDir"]);
    EXPECT_EQ("C:\\SETUP.INF", m["ScriptPath"]);
    EXPECT_EQ("From the root", m["ProductName"]);

    // A directory that fits SourceDir but leaves no room for "\SETUP.INF": the script is
    // never read from a path cut short, and the load fails as a reading error would.
    std::string dir70 = "C:\\tests\\" + Repeat('d', 61);  // 70 characters
    RemoveTree(dir70);
    CreateDirectoryA("C:\\tests", nullptr);
    CreateDirectoryA(dir70.c_str(), nullptr);
    WriteFileBytes(dir70 + "\\SETUP.INF", "[Main]\r\nProductName=Too deep\r\n");
    CopyFileA(SelfPath().c_str(), (dir70 + "\\SETUP.EXE").c_str(), FALSE);
    m = RunLoaderAt(dir70 + "\\SETUP.EXE");
    EXPECT_EQ(dir70, m["SourceDir"]);
    EXPECT_EQ("", m["ScriptPath"]);
    EXPECT_EQ("0", m["Result"]);
    RemoveTree(dir70);

    // 69 characters is the deepest directory whose script is read.
    std::string dir69 = "C:\\tests\\" + Repeat('d', 60);
    m = LoadPackage(Repeat('d', 60), "[Main]\r\nProductName=Deep\r\n");
    EXPECT_EQ(dir69, m["SourceDir"]);
    EXPECT_EQ(dir69 + "\\SETUP.INF", m["ScriptPath"]);
    EXPECT_EQ("Deep", m["ProductName"]);

    // A directory longer than 79 characters: no SourceDir at all, never a cut one.
    std::string dir85 = "C:\\tests\\" + Repeat('e', 76);
    m = LoadPackage(Repeat('e', 76), "[Main]\r\nProductName=Too deep\r\n");
    EXPECT_EQ("", m["SourceDir"]);
    EXPECT_EQ("0", m["Result"]);
    RemoveTree(dir85);
}

TEST(Loader, MaximalScript) {
    // Six disks, 32767 file lines in all, every directory key in turn.
    const int counts[kMaxDisks] = {5461, 5461, 5461, 5461, 5461, 5462};
    const char* keys[kDirKeyCount] = {"RootDir", "subdir1", "SUBDIR2", "SubDir3",      "SubDir4",
                                      "SubDir5", "SubDir6", "WinDir",  "WinSystemDir", "WinInfDir"};
    std::string script = "[Main]\r\nProductName=Maximal\r\n[DiskLabel]\r\n";
    for (int n = 1; n <= 6; ++n)
        script += "Disk" + std::to_string(n) + "=Disk " + std::to_string(n) + "\r\n";
    script += "[DirectoryName]\r\n";
    for (int k = 0; k < kDirKeyCount; ++k)
        script += std::string(keys[k]) + "=D" + std::to_string(k) + "\r\n";
    script += "[FileCounts]\r\n";
    for (int n = 1; n <= 6; ++n)
        script += "Disk" + std::to_string(n) + "=" + std::to_string(counts[n - 1]) + "\r\n";
    int index = 0;
    for (int n = 1; n <= 6; ++n) {
        script += "[Disk" + std::to_string(n) + "]\r\n";
        for (int j = 1; j <= counts[n - 1]; ++j, ++index) {
            script += std::to_string(j) + "=F" + std::to_string(index) + ".DL_,F" +
                      std::to_string(index) + ".DLL,Component " + std::to_string(j) + " of disk " +
                      std::to_string(n) + "," + keys[index % kDirKeyCount] + "\r\n";
        }
    }
    script += "[Startup]\r\nTitle=Maximal\r\n";
    Model m = LoadPackage("maximal", script.c_str());
    ASSERT_EQ("1", m["Result"]);
    EXPECT_EQ("6", m["DiskCount"]);
    EXPECT_EQ("32767", m["TotalFiles"]);
    EXPECT_EQ("27305", m["Disk6.FirstEntry"]);
    EXPECT_EQ("Maximal", m["Profile.Title"]);
    std::string win = WindowsPath();
    const std::string dest[kDirKeyCount] = {
        "D0", "D1", "D2", "D3", "D4", "D5", "D6", win, win + "\\SYSTEM", win + "\\INF"};
    index = 0;
    int wrong = 0;
    for (int n = 1; n <= 6; ++n) {
        for (int j = 1; j <= counts[n - 1]; ++j, ++index) {
            int k = index % kDirKeyCount;
            std::string expected = "D" + std::to_string(k) + "|" + dest[k] + "|F" +
                                   std::to_string(index) + ".DL_|F" + std::to_string(index) +
                                   ".DLL|Component " + std::to_string(j) + " of disk " +
                                   std::to_string(n) + "|" + (k >= 7 ? "1" : "0");
            if (Entry(m, index) != expected && ++wrong <= 5)
                ADD_FAILURE() << "entry " << index << ": " << Entry(m, index);
        }
    }
    EXPECT_EQ(0, wrong);
}

// The file lines come from the script's text where it says them plainly, and from the
// profile functions otherwise: either way each entry is what the profile functions read for
// its key, parsed. Disk1 mixes plain lines with every kind that is left to them; Disk2 is
// over 32 KB, beyond what the listing that checks the text holds, with odd lines past that.
// The same script with a second [Disk1] at its end is read key by key throughout.
TEST(Loader, FileLinesReadAsTheProfileFunctionsReadThem) {
    std::string disk1 =
        "; a comment\r\n1=A.DL_,A.DLL,Plain,SubDir1\r\n 2=B.DLL,B.DLL,Blank before,SubDir1\r\n"
        "3 = C.DLL , C.DLL,Blanks around,RootDir\r\n4=\"D.DLL,D.DLL,Quoted,RootDir\"\r\n"
        "5=E.DLL,E.DLL,Twice,RootDir\r\n5=F.DLL,F.DLL,Twice,RootDir\r\n6=G.DLL,G.DLL,Tab\there,SubDir1\t\r\n"
        "7=H.DLL,H.DLL,\x95\x5c\x8e\xa6,SubDir1\r\n9=I.DLL,I.DLL," +
        std::string(130, 'x') + "\r\n10\r\n11=\r\n";
    std::string disk2;
    const int count2 = 900;
    for (int j = 1; j <= count2; ++j)
        disk2 += std::to_string(j) + (j % 150 == 0 ? " = " : "=") + "F" + std::to_string(j) +
                 ".DAT,F" + std::to_string(j) + ".DAT,File number " + std::to_string(j) +
                 " of the second disk,SubDir1\r\n";
    disk2 += "880=DUP.DAT,DUP.DAT,Given twice,SubDir1\r\n899=\"Q.DAT,Q.DAT,Quoted,RootDir\"\r\n";
    std::string script = "[DiskLabel]\r\nDisk1=One\r\nDisk2=Two\r\n[DirectoryName]\r\n"
                         "RootDir=.\r\nSubDir1=SUB\r\n[FileCounts]\r\nDisk1=12\r\nDisk2=" +
                         std::to_string(count2) + "\r\n[Disk1]\r\n" + disk1 + "[Disk2]\r\n" + disk2;
    ASSERT_GT(disk2.size(), 32768u);
    const char* keyNames[kDirKeyCount] = {"RootDir", "SubDir1",  "SubDir2",     "SubDir3",
                                          "SubDir4", "SubDir5",  "SubDir6",     "WinDir",
                                          "WinSystemDir", "WinInfDir"};
    for (const std::string& variant : {script, script + "[Disk1]\r\n1=Z.DLL,Z.DLL,Z,RootDir\r\n"}) {
        std::string dir;
        Model m = LoadPackage("asprofile", variant.c_str(), RunOptions(), &dir);
        ASSERT_EQ(std::to_string(12 + count2), m["TotalFiles"]);
        int index = 0, wrong = 0;
        for (int n = 1; n <= 2; ++n) {
            std::string section = "Disk" + std::to_string(n);
            for (int j = 1; j <= (n == 1 ? 12 : count2); ++j, ++index) {
                char line[kLineWidth];
                GetPrivateProfileStringA(section.c_str(), std::to_string(j).c_str(), "", line,
                                         kLineWidth, (dir + "\\SETUP.INF").c_str());
                FileEntry e = {};
                if (line[0] != 0)
                    ParseFileLine(line, keyNames, Shared::DirTable, Shared::WindowsDir, &e);
                std::string expected = std::string(e.DirName) + "|" + e.DestDir + "|" +
                                       e.SourceFile + "|" + e.DestFile + "|" + e.Description +
                                       "|" + std::to_string(e.DestIsAbsolute);
                if (Entry(m, index) != expected && ++wrong <= 5)
                    ADD_FAILURE() << section << " key " << j << ": " << Entry(m, index)
                                  << " where the profile functions read " << expected;
            }
        }
        EXPECT_EQ(0, wrong);
        EXPECT_EQ("SUB|SUB|F900.DAT|F900.DAT|File number 900 of the second disk|0",
                  Entry(m, 12 + count2 - 1));
    }
}

// The example script of the README, taken from the README itself and loaded in-process:
// every value reads as the README says, none carries a comment along.
TEST(Loader, TheReadmeExampleReadsAsTheReadmeSays) {
    const std::string root = EnvText("SETUP_ROOT");
    ASSERT_FALSE(root.empty());
    std::string readme = ReadFileBytes(LinuxPathToWindows(root + "/README.md"));
    size_t start = readme.find("```ini\n");
    ASSERT_NE(std::string::npos, start);
    start += 7;
    std::string script = readme.substr(start, readme.find("```", start) - start);
    std::string dir = MakeScratchDir("readme-example");
    WriteFileBytes(dir + "\\SETUP.INF", script);
    Shared::AppInstance = GetModuleHandleA(nullptr);
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);

    ASSERT_EQ(1, LoadSetupScriptFrom(dir.c_str()));
    EXPECT_STREQ("Qorva Mouse", Shared::ProductName);
    EXPECT_EQ(WindowsPath().substr(0, 1) + ":\\QORVA", Shared::InstallDir);
    EXPECT_EQ(1024, Shared::MinimumSpace);
    EXPECT_EQ(0, Shared::MouseKind);
    EXPECT_STREQ("Program files", Shared::DiskSet.Disk[0].DiskLabelText);
    EXPECT_STREQ("DRIVER", Shared::DirTable[DirKeySub1]);
    ASSERT_EQ(3, Shared::TotalFiles);
    std::vector<std::string> texts = {
        Shared::DirTable[DirKeyRoot], Shared::DirTable[DirKeyWinSystem],
        Shared::FileTable[2].DestDir, Shared::FileTable[2].Description,
        Shared::DriverProfile.Title,  Shared::DriverProfile.SeialName};
    EXPECT_EQ((std::vector<std::string>{".", "SYSTEM", WindowsPath() + "\\SYSTEM", "Mouse driver",
                                        "Qorva Mouse Driver", "Qorva Serial Mouse"}),
              texts);
    ReleaseFileTable();
}
