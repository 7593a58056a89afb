// What UNINSTAL.EXE leaves: outside an installation everything, in it what setup did not
// make (files that stood there, shared files other programs count, directories that stood
// there), and every registry key a journal names that setup never journals.
#include <gtest/gtest.h>

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

// Started in the package, or beside a SETUP.INF copied away from its installation, the
// uninstaller finds no installation: it changes nothing and ends with exit code 2.
TEST_F(Uninstaller, OutsideAnInstallationItChangesNothing) {
    SeedPs2Mouse();
    std::vector<std::string> packageFiles, texts;
    DumpFiles("C:\\SAMPLE", packageFiles);
    std::vector<std::string> before = MachineState();
    EXPECT_EQ(2u, RunUninstaller("C:\\SAMPLE\\UNINSTAL.EXE", IDYES, &texts));
    EXPECT_EQ((std::vector<std::string>{
                  "Qorva Mouse Uninstall: There is no installation of the product in "
                  "this directory: no record of one is kept here. Nothing was changed."}),
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
    EXPECT_NE(
        std::string::npos,
        texts.back().find("they were left as they are: Software\\QorvaTest; " + display + "."))
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
    for (const char* f : {"C:\\QXOUT.TXT", "C:\\QXPRE\\P.TXT", "C:\\QXNEW\\N.TXT"})
        ASSERT_TRUE(FileExists(f)) << f;

    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_FALSE(FileExists("C:\\QXOUT.TXT"));
    EXPECT_TRUE(FileExists("C:\\QXOLD.TXT"));
    EXPECT_FALSE(FileExists("C:\\QXPRE\\P.TXT"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\QXPRE"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\QXNEW"));
    DeleteFileA("C:\\QXOLD.TXT");
    RemoveDirectoryA("C:\\QXPRE");
}

// An installation made by a setup from before the install log keeps its record in section
// [Installed] of its SETUP.INF: the uninstaller goes by it, also after a reinstall by today's
// setup, where the record's word for a file holds over the log's.
TEST_F(Uninstaller, AnOlderSetupsRecordIsStillFollowed) {
    SeedPs2Mouse();
    std::vector<std::string> before = MachineState();
    ASSERT_EQ("", InstallWith(package, IDC_PS2));
    // As the older setup left it: the record in SETUP.INF, no log; a file it made (README),
    // and one that stood there before it (KEPT.TXT).
    ASSERT_TRUE(DeleteFileA((kInstallDir + "\\INSTALL.LOG").c_str()));
    WriteFileBytes(kInstallDir + "\\KEPT.TXT", "stood there", false);
    std::string record = "[Installed]\r\nDirectory=" + kInstallDir + "\r\n" + kInstallDir +
                         "=Dir\r\n";
    for (const char* f : {"SETUP.INF", "UNINSTAL.EXE", "README.TXT", "SETUP.EXE", "QXMAIN.EXE"})
        record += kInstallDir + "\\" + f + "=New\r\n";
    record += kInstallDir + "\\KEPT.TXT=Old\r\n";
    std::string script = ReadFileBytes(kInstallDir + "\\SETUP.INF") + record;
    WriteFileBytes(kInstallDir + "\\SETUP.INF", script, false);

    ASSERT_EQ("", InstallWith(package, IDC_PS2));  // today's setup over it keeps the record
    EXPECT_NE(std::string::npos, ReadFileBytes(kInstallDir + "\\SETUP.INF").find(record));
    EXPECT_EQ(0u, Uninstall(IDYES));
    EXPECT_FALSE(FileExists(kInstallDir + "\\README.TXT"));
    EXPECT_FALSE(FileExists(kInstallDir + "\\SETUP.INF"));
    EXPECT_EQ("stood there", ReadFileBytes(kInstallDir + "\\KEPT.TXT"));
    DeleteFileA((kInstallDir + "\\KEPT.TXT").c_str());
}

}  // namespace
