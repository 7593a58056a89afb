// The journal in InstallDir\SETUP.INF, through the real profile functions.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "support/vm_host.h"
#include "support/winfiles.h"

namespace {

std::string Profile(const std::string& file, const char* section, const char* key) {
    char buf[512];
    GetPrivateProfileStringA(section, key, "<absent>", buf, sizeof(buf), file.c_str());
    return buf;
}

class Journal : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = MakeScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        TextCopy(Shared::InstallDir, kDirWidth, dir_.c_str());
        inf_ = dir_ + "\\SETUP.INF";
    }
    void TearDown() override { RemoveTree(dir_); }
    std::string dir_;
    std::string inf_;
};

TEST_F(Journal, FirstWriteCreatesTheScriptHoldingOnlyTheJournalSection) {
    ASSERT_FALSE(FileExists(inf_));
    JournalWrite(Shared::InstallDir, "PS2", "SubKey1", "Enum\\BIOS\\*PNP0F13\\0000");
    ASSERT_TRUE(FileExists(inf_));
    EXPECT_EQ("Enum\\BIOS\\*PNP0F13\\0000", Profile(inf_, "PS2", "SubKey1"));
    std::string text = ReadFileBytes(inf_);
    EXPECT_NE(std::string::npos, text.find("[PS2]"));
    EXPECT_EQ(std::string::npos, text.find("[Serial]"));
    EXPECT_EQ(std::string::npos, text.find("[Main]"));
}

// A recorded key is never written again, an empty record (a value that did not exist)
// included, so the values from before the first registration survive every later one.
TEST_F(Journal, KeysKeepTheirFirstRecordEvenAnEmptyOne) {
    WriteFileBytes(inf_,
                   "[Main]\r\nProductName=Qorva\r\n"
                   "[PS2]\r\nDeviceDesc=\r\nMfg=Old Maker\r\n"
                   "[Startup]\r\nTitle=Qorva Mouse\r\n");
    EXPECT_EQ(
        1, JournalWrite(Shared::InstallDir, "PS2", "DeviceDesc", "First"));  // recorded empty: kept
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "Mfg",
                              "New Maker"));  // held a value from the start
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "InfPath",
                              ""));  // an absent value is recorded...
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "InfPath",
                              "MOUSE.INF"));  // ...and stays recorded absent
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "DriverDesc", "Desc"));
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "DriverDesc", "Other"));

    EXPECT_EQ("", Profile(inf_, "PS2", "DeviceDesc"));
    EXPECT_EQ("Old Maker", Profile(inf_, "PS2", "Mfg"));
    EXPECT_EQ("", Profile(inf_, "PS2", "InfPath"));
    EXPECT_EQ("Desc", Profile(inf_, "PS2", "DriverDesc"));
    EXPECT_EQ(1, JournalHolds(Shared::InstallDir, "PS2", "InfPath"));
    EXPECT_EQ(0, JournalHolds(Shared::InstallDir, "PS2", "InfSection"));
    EXPECT_EQ("Qorva", Profile(inf_, "Main", "ProductName"));
    EXPECT_EQ("Qorva Mouse", Profile(inf_, "Startup", "Title"));
}

// A journal on a read-only medium (a CD, a write-protected floppy): every record is read
// back, and none reports success.
TEST_F(Journal, RecordsThatDoNotReachTheFileAreReportedLost) {
    WriteFileBytes(inf_, "[Main]\r\nProductName=Qorva\r\n[PS2]\r\nMfg=Old Maker\r\n");
    std::string linuxDir = EnvText("VM_PREFIX") + "/drive_c/tests/" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(MountReadOnly(linuxDir)) << "a bind mount needs root";
    EXPECT_EQ(0, JournalWrite(Shared::InstallDir, "PS2", "DeviceDesc", "Standard PS/2 Port Mouse"));
    EXPECT_EQ(0, JournalWrite(Shared::InstallDir, "Serial", "SubKey1", "x"));
    EXPECT_EQ(1, JournalWrite(Shared::InstallDir, "PS2", "Mfg",
                              "New Maker"));  // recorded before: nothing to write
    EXPECT_EQ("<absent>", Profile(inf_, "PS2", "DeviceDesc"));
    Unmount(linuxDir);
    EXPECT_EQ("[Main]\r\nProductName=Qorva\r\n[PS2]\r\nMfg=Old Maker\r\n", ReadFileBytes(inf_));
}

TEST_F(Journal, SectionsOfTheTwoMouseTypesAreIndependent) {
    JournalWrite(Shared::InstallDir, "PS2", "DeviceDesc", "PS/2 before");
    JournalWrite(Shared::InstallDir, "Serial", "DeviceDesc", "Serial before");
    JournalWrite(Shared::InstallDir, "PS2", "DeviceDesc", "ignored");
    EXPECT_EQ("PS/2 before", Profile(inf_, "PS2", "DeviceDesc"));
    EXPECT_EQ("Serial before", Profile(inf_, "Serial", "DeviceDesc"));
}

TEST_F(Journal, ReadGivesTheDefaultWhenMissingAndCutsAt127) {
    EXPECT_STREQ("dflt", JournalRead(Shared::InstallDir, "PS2", "Mfg", "dflt"));  // no file at all
    std::string longValue(200, 'v');
    WriteFileBytes(inf_, "[PS2]\r\nMfg=" + longValue + "\r\n");
    EXPECT_EQ(std::string(127, 'v'),
              std::string(JournalRead(Shared::InstallDir, "PS2", "Mfg", "")));
    EXPECT_STREQ("dflt", JournalRead(Shared::InstallDir, "PS2", "DeviceDesc", "dflt"));
    EXPECT_STREQ("dflt", JournalRead(Shared::InstallDir, "Serial", "Mfg", "dflt"));
}

// A journal path that does not fit is never cut into the name of another file.
TEST_F(Journal, InstallDirTooLongForThePathWritesNothing) {
    std::string longDir = dir_ + "\\" + std::string(69 - dir_.size(), 'd');
    ASSERT_EQ(70u, longDir.size());  // + "\SETUP.INF" is 80 characters: one too many
    ASSERT_TRUE(CreateDirectoryA(longDir.c_str(), nullptr));
    TextCopy(Shared::InstallDir, kDirWidth, longDir.c_str());

    EXPECT_EQ(0, JournalWrite(Shared::InstallDir, "PS2", "SubKey1", "Enum\\BIOS\\*PNP0F13\\0000"));
    EXPECT_STREQ("dflt", JournalRead(Shared::InstallDir, "PS2", "SubKey1", "dflt"));

    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((longDir + "\\*").c_str(), &fd);
    int entries = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name != "." && name != "..") ++entries;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    EXPECT_EQ(0, entries);

    // One character shorter fits exactly and is journalled.
    std::string fitting = longDir.substr(0, 69);
    ASSERT_TRUE(CreateDirectoryA(fitting.c_str(), nullptr));
    TextCopy(Shared::InstallDir, kDirWidth, fitting.c_str());
    JournalWrite(Shared::InstallDir, "PS2", "SubKey1", "x");
    EXPECT_EQ("x", Profile(fitting + "\\SETUP.INF", "PS2", "SubKey1"));
}

// Without an installation directory, "\SETUP.INF" would name a file in the root of the
// current drive.
TEST_F(Journal, NoInstallDirWritesNothing) {
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
    DeleteFileA("C:\\SETUP.INF");
    Shared::InstallDir[0] = 0;
    JournalWrite(Shared::InstallDir, "PS2", "SubKey1", "Enum\\BIOS\\*PNP0F13\\0000");
    EXPECT_STREQ("dflt", JournalRead(Shared::InstallDir, "PS2", "SubKey1", "dflt"));
    EXPECT_FALSE(FileExists("C:\\SETUP.INF"));
    SetCurrentDirectoryA("C:\\");
}

// A line break in a recorded value would start new lines, even sections, in the script.
TEST_F(Journal, LineBreaksInAValueStayOnItsLine) {
    WriteFileBytes(inf_, "[Main]\r\nDefaultPath=C:\\QORVA\r\n");
    JournalWrite(Shared::InstallDir, "PS2", "DeviceDesc",
                 "Mouse\r\n[Main]\r\nDefaultPath=D:\\ELSE\n");
    std::string text = ReadFileBytes(inf_);
    EXPECT_EQ(0u, text.find("[Main]")) << text;
    EXPECT_EQ(std::string::npos, text.find("\n[Main]")) << text;
    EXPECT_EQ(std::string::npos, text.find("D:\\ELSE\r")) << text;
    // The last line feed became a blank at the end, which the journal keeps.
    EXPECT_EQ("Mouse  [Main]  DefaultPath=D:\\ELSE ", Profile(inf_, "PS2", "DeviceDesc"));
}

// The profile functions take blanks off both ends of a value and one pair of quotes off
// it: such values are written inside quotes and come back exactly; others as they are.
TEST_F(Journal, ValuesComeBackExactlyWithBlanksAndQuotesAtTheirEnds) {
    const char* values[] = {" 4-23-1999", "trailing\t",        "  ",
                            "\"quoted\"", "'single'",          "\"\" both \"\"",
                            "\"",         "in \"the\" middle", "plain"};
    for (int i = 0; i < 9; ++i) {
        std::string key = "K" + std::to_string(i);
        JournalWrite(Shared::InstallDir, "PS2", key.c_str(), values[i]);
        EXPECT_EQ(values[i],
                  std::string(JournalRead(Shared::InstallDir, "PS2", key.c_str(), "<absent>")))
            << key;
    }
    std::string text = ReadFileBytes(inf_);
    EXPECT_NE(std::string::npos, text.find("K0=\" 4-23-1999\"\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("K7=in \"the\" middle\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("K8=plain\r\n")) << text;
}

}  // namespace
