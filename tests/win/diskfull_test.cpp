// A destination drive that fills up: a 600 KB tmpfs linked as drive E: of the machine.
#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "install/installlog.h"
#include "install/systemini.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "support/install_page.h"
#include "support/vm_host.h"
#include "support/winfiles.h"
#include "wizard/pages.h"

namespace {

// Mounts the drive once for the whole run and removes it at the end, so that the machine's
// directory can be removed afterwards.
class SmallDriveEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_FALSE(EnvText("VM_PREFIX").empty()) << "run under tools/vm/vmrun";
        ASSERT_TRUE(mounted_ = MountSmallDrive(600)) << "mounting a tmpfs needs root";
    }
    void TearDown() override {
        if (mounted_) UnmountSmallDrive();
    }

  private:
    bool mounted_ = false;
};
::testing::Environment* const smallDrive =
    ::testing::AddGlobalTestEnvironment(new SmallDriveEnvironment);

// The file that does not fit is asked about; Ignore goes on with the next entry.
TEST(DiskFull, TheCopyGoesOnPastAFileThatDoesNotFit) {
    std::string root = MakeScratchDir("full");
    std::string pkg = root + "\\pkg";
    CreateDirectoryA(pkg.c_str(), nullptr);
    // 360 KB each, packed: the second one no longer fits the 600 KB drive.
    std::string big;
    while (big.size() < 360000) big += InstallFixture("readme.txt");
    big.resize(360000);
    WriteFileBytes(pkg + "\\BIG.TXT", big, false);
    WriteFileBytes(pkg + "\\SHORT.TX_", InstallFixture("short.pk"), false);
    CreateDirectoryA("E:\\dest", nullptr);
    WriteFileBytes("E:\\dest\\TWO.TXT", "an older file", false);

    FileEntry table[4];
    ZeroBytes(table, sizeof(table));
    auto set = [&](int n, const char* src, const char* destDir, const char* dst, int absolute) {
        TextCopy(table[n].SourceFile, kFileNameWidth, src);
        TextCopy(table[n].DestFile, kFileNameWidth, dst);
        TextCopy(table[n].DestDir, kEntryDirWidth, destDir);
        table[n].DestIsAbsolute = absolute;
    };
    set(0, "BIG.TXT", "", "ONE.TXT", 0);
    set(1, "BIG.TXT", "", "TWO.TXT", 0);
    set(2, "SHORT.TX_", "", "THREE.TXT", 0);
    set(3, "SHORT.TX_", root.c_str(), "FOUR.TXT", 1);  // on C:, after the failures
    ZeroBytes(&Shared::DiskSet, sizeof(Shared::DiskSet));
    Shared::DiskSet.DiskCount = 1;
    Shared::DiskSet.Disk[0].FileCount = 4;
    Shared::FileTable = table;
    TextCopy(Shared::SourceDir, kDirWidth, pkg.c_str());
    TextCopy(Shared::InstallDir, kDirWidth, "E:\\dest");
    TextCopy(Shared::ProductName, kProductWidth, "Qorva");

    InstallLog log;  // as WinMain owns it; the install page starts it
    InstallLogInit(&log);
    Shared::RunLog = &log;
    HWND page = CreateInstallPage();
    MessageBoxAnswerer ignore(IDIGNORE);
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    EXPECT_TRUE(DrainQueue());
    ASSERT_EQ(1u, ignore.Texts().size());
    EXPECT_EQ(0u, ignore.Texts()[0].find("BIG.TXT cannot be copied to E:\\dest\\TWO.TXT.\n\n"
                                         "The destination cannot be written: the disk is full"))
        << ignore.Texts()[0];
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(1, Shared::PageResult);  // a full disk is not a cancel
    EXPECT_EQ(big, ReadFileBytes("E:\\dest\\ONE.TXT"));
    // The file that did not fit left the older one of its name as it was, and no part of itself.
    EXPECT_EQ("an older file", ReadFileBytes("E:\\dest\\TWO.TXT"));
    WIN32_FIND_DATAA found;
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA("E:\\dest\\~SU*", &found));
    EXPECT_EQ(InstallFixture("short.txt"), ReadFileBytes(root + "\\FOUR.TXT"));
    Shared::FileTable = nullptr;
    InstallLogClose(&log);
    Shared::RunLog = nullptr;
    RemoveTree("E:\\dest");
}

TEST(DiskFull, ASystemNewThatCannotBeWrittenWholeChangesNothing) {
    RemoveTree("E:\\win");
    CreateDirectoryA("E:\\win", nullptr);
    std::string ini = "[386Enh]\r\nmouse=*vmd\r\n";
    while (ini.size() < 60000) ini += "device=*padding" + std::to_string(ini.size()) + "\r\n";
    WriteFileBytes("E:\\win\\system.ini", ini, false);
    WriteFileBytes("E:\\win\\system.bak", "older backup", false);
    FillSmallDrive();
    TextCopy(Shared::WindowsDir, kDirWidth, "E:\\win");
    PatchSystemIni();
    EXPECT_EQ(ini, ReadFileBytes("E:\\win\\system.ini"));
    EXPECT_EQ("older backup", ReadFileBytes("E:\\win\\system.bak"));
    EXPECT_FALSE(FileExists("E:\\win\\system.new"));
    DeleteFileA("E:\\FILLER");

    // With room again the same file is patched.
    PatchSystemIni();
    EXPECT_EQ(ini, ReadFileBytes("E:\\win\\system.bak"));
    EXPECT_EQ(0u, ReadFileBytes("E:\\win\\system.ini").find("[386Enh]\r\nmouse=*vmouse\r\ndevice"));
    RemoveTree("E:\\win");
}

}  // namespace
